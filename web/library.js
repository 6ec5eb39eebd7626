// What the game asks of the browser beyond emscripten's own emulation, linked with --js-library.

mergeInto(LibraryManager.library, {
  // F: fullscreen and back. Emscripten's GLFW leaves this out (it throws); in a page the canvas
  // takes the whole screen, which browsers allow shortly after a key press.
  glfwSetWindowMonitor__deps: ['$Browser'],
  glfwSetWindowMonitor: function(winid, monitor, xpos, ypos, width, height, refreshRate) {
    if (monitor) {
      Browser.requestFullscreen(false, false);
    } else if (document.fullscreenElement) {
      document.exitFullscreen();
    }
  },

  // The animation's clock: milliseconds since its first reading, as SDL's counter is when SDL
  // was never initialised. Emscripten's own counts from an SDL_Init the game never calls.
  $chronocellTicksStart: null,
  SDL_GetTicks__deps: ['$chronocellTicksStart'],
  SDL_GetTicks: function() {
    if (chronocellTicksStart === null) {
      chronocellTicksStart = performance.now();
    }
    return (performance.now() - chronocellTicksStart) >>> 0;
  },

  // The page's side of src/web/PageBridge.cpp: Module.chronocellPage, made by web/page.js.
  chronocell_takeDroppedFile__deps: ['$stringToNewUTF8'],
  chronocell_takeDroppedFile: function() {
    const name = Module.chronocellPage.takeDrop();
    return name ? stringToNewUTF8(name) : 0;
  },
  chronocell_takeSessionEndRequest: function() {
    return Module.chronocellPage.takeEndRequest() ? 1 : 0;
  },
  chronocell_offerRecording: function(path) {
    Module.chronocellPage.offerRecording(UTF8ToString(path));
  },
  chronocell_keepSettings: function() {
    Module.chronocellPage.keepSettings();
  },
  chronocell_showSession: function(text) {
    Module.chronocellPage.showSession(UTF8ToString(text));
  },
  chronocell_resizeCanvas__deps: ['$Browser', '$GLFW'],
  chronocell_resizeCanvas: function(width, height) {
    Browser.setCanvasSize(width, height);
    if (GLFW.active) {
      GLFW.active.width = width;
      GLFW.active.height = height;
    }
  },
});
