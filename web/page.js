// The page around the game: where its lines go, the files dropped on it, its recordings offered
// for download, and the player's settings kept in the browser's storage (IndexedDB). The game
// picks up what is left here between its passes (src/web/PageBridge.cpp); the page never calls
// into the game.
'use strict';

(function () {
  const canvas = document.getElementById('canvas');
  const messages = document.getElementById('messages');
  const statusLine = document.getElementById('status');
  const recordingList = document.getElementById('recordings');
  const settingsFolder = '/settings';
  const kMaxMessageLines = 40;

  function say(line) {
    const lines = (messages.textContent + line + '\n').split('\n');
    messages.textContent = lines.slice(Math.max(0, lines.length - kMaxMessageLines - 1)).join('\n');
    console.log(line);
  }

  // A dropped file is saved under its own name in the game's working folder, as a player names
  // a file on the desktop game's command line; anything that could leave that folder is left out.
  function safeName(name) {
    const cleaned = name.replace(/[^A-Za-z0-9._ -]/g, '_').replace(/^[. ]+/, '');
    return cleaned.length > 0 ? cleaned.slice(0, 120) : 'dropped-file';
  }

  function timeStamp() {
    const now = new Date();
    const two = (n) => String(n).padStart(2, '0');
    return `${now.getFullYear()}${two(now.getMonth() + 1)}${two(now.getDate())}-` +
      `${two(now.getHours())}${two(now.getMinutes())}${two(now.getSeconds())}`;
  }

  const page = {
    drops: [],
    endRequested: false,
    frames: 0,
    firstFrameAt: null,
    recordings: [],
    takeDrop() {
      // Called at the start of every frame: the second call follows the first drawn frame.
      page.frames += 1;
      if (page.frames === 2) {
        page.firstFrameAt = performance.now();
      }
      return page.drops.shift() || null;
    },
    takeEndRequest() {
      const asked = page.endRequested;
      page.endRequested = false;
      return asked;
    },
    offerRecording(path) {
      const bytes = Module.FS.readFile(path);
      Module.FS.unlink(path);
      const name = `chronocell-${timeStamp()}.ccr`;
      const url = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
      const item = document.createElement('li');
      const link = document.createElement('a');
      link.href = url;
      link.download = name;
      link.textContent = `Download ${name}`;
      item.append(link, ` (${bytes.length} bytes)`);
      recordingList.append(item);
      page.recordings.push({ name, url, size: bytes.length });
    },
    keepSettings() {
      Module.FS.syncfs(false, (error) => {
        if (error) {
          say(`chronocell: cannot keep the settings in this browser: ${error}`);
        }
      });
      say('Settings kept in this browser; a new session starts with them.');
    },
    showSession(text) {
      statusLine.textContent = text === 'playing' ? 'Playing.' : `${text[0].toUpperCase()}${text.slice(1)}; Escape leaves the replay.`;
      canvas.focus();
    },
  };

  function takeFiles(files) {
    for (const file of files) {
      file.arrayBuffer().then((buffer) => {
        const name = safeName(file.name);
        try {
          Module.FS.writeFile('/' + name, new Uint8Array(buffer));
          page.drops.push(name);
        } catch (error) {
          say(`chronocell: ${name}: cannot be taken: ${error}`);
        }
      });
    }
  }

  document.addEventListener('dragover', (event) => {
    event.preventDefault();
    document.body.classList.add('dragging');
  });
  document.addEventListener('dragleave', () => document.body.classList.remove('dragging'));
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    document.body.classList.remove('dragging');
    takeFiles(event.dataTransfer.files);
  });
  document.getElementById('end-session').addEventListener('click', () => {
    page.endRequested = true;
    canvas.focus();
  });

  window.Module = {
    canvas,
    chronocellPage: page,
    print: say,
    printErr: say,
    // The player's settings come back from the browser's storage before the game reads them.
    preRun: [() => {
      Module.FS.mkdir(settingsFolder);
      Module.FS.mount(Module.FS.filesystems.IDBFS, {}, settingsFolder);
      Module.addRunDependency('settings');
      Module.FS.syncfs(true, (error) => {
        if (error) {
          say(`chronocell: the settings kept in this browser cannot be read: ${error}`);
        }
        Module.removeRunDependency('settings');
      });
    }],
    setStatus(text) {
      statusLine.textContent = text || 'Playing.';
    },
    onAbort(what) {
      statusLine.textContent = `The game stopped: ${what}`;
    },
  };
  canvas.addEventListener('click', () => canvas.focus());
  canvas.focus();
})();
