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
});
