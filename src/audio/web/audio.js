// The page's side of the game's sound: blocks of the game's own mix, pushed from the game, played
// back to back on one AudioContext. Nothing here calls into the game, which may be asleep in a
// freeze while its sound goes on.
//
// Browsers start a context only after a gesture, so it is made, or resumed, on the page's first
// key or pointer press. Until it runs, blocks are dropped: the game's mix keeps real time, so the
// sounds of those moments are simply not heard.
mergeInto(LibraryManager.library, {
  $ChronocellAudio__postset: 'ChronocellAudio.install();',
  $ChronocellAudio: {
    // The mix's rate; a context running at another one resamples each buffer.
    kFramesPerSecond: 44100,
    // A queue that ran dry starts again a little after now, since a buffer started at the
    // current time has already missed its first frames.
    kRestartDelaySeconds: 0.02,
    kFullScale: 32768,
    context: null,
    nextStart: 0,
    blocksQueued: 0,
    blocksDropped: 0,

    // Read-only, for a page's tests: that sound flows once a key is pressed. Quoted names, so that
    // a minifier leaves them as the page reads them.
    install: function() {
      var view = {};
      Object.defineProperty(view, 'blocksQueued', {
        get: function() { return ChronocellAudio.blocksQueued; }, enumerable: true
      });
      Object.defineProperty(view, 'blocksDropped', {
        get: function() { return ChronocellAudio.blocksDropped; }, enumerable: true
      });
      Object.defineProperty(view, 'state', {
        get: function() {
          return ChronocellAudio.context ? ChronocellAudio.context.state : 'none';
        },
        enumerable: true
      });
      Module['chronocellAudio'] = Object.freeze(view);
      if (typeof window === 'undefined') {
        return;
      }
      // Listened to on every press, not just the first: a browser may suspend a running context
      // again (a phone call, another tab playing), and the next press brings it back. A touch
      // counts as a gesture only when the finger lifts, hence pointerup beside pointerdown; a
      // gamepad's connection counts as none, so it is not listened to.
      ['keydown', 'pointerdown', 'pointerup'].forEach(function(type) {
        window.addEventListener(type, ChronocellAudio.wake, true);
      });
    },

    contextClass: function() {
      if (typeof AudioContext !== 'undefined') {
        return AudioContext;
      }
      return typeof webkitAudioContext !== 'undefined' ? webkitAudioContext : null;
    },

    // Asked for at the mix's rate, so that no buffer needs resampling; a browser that refuses a
    // rate of its own choosing gets the device's rate and resamples.
    createContext: function() {
      var Context = ChronocellAudio.contextClass();
      try {
        return new Context({sampleRate: ChronocellAudio.kFramesPerSecond});
      } catch (error) {
        return new Context();
      }
    },

    wake: function() {
      var audio = ChronocellAudio;
      if (!audio.contextClass()) {
        return;
      }
      if (!audio.context) {
        audio.context = audio.createContext();
      }
      // A press that is no gesture (Escape, say) leaves it suspended until the next one.
      if (audio.context.state === 'suspended') {
        audio.context.resume().catch(function() {});
      }
    },

    running: function() {
      return ChronocellAudio.context !== null && ChronocellAudio.context.state === 'running';
    },

    // A buffer of `frames` stereo frames from 16-bit samples, left then right, at `pointer`.
    toBuffer: function(pointer, frames) {
      var audio = ChronocellAudio;
      var buffer = audio.context.createBuffer(2, frames, audio.kFramesPerSecond);
      var left = buffer.getChannelData(0);
      var right = buffer.getChannelData(1);
      var sample = pointer >> 1;
      for (var frame = 0; frame < frames; ++frame, sample += 2) {
        left[frame] = HEAP16[sample] / audio.kFullScale;
        right[frame] = HEAP16[sample + 1] / audio.kFullScale;
      }
      return buffer;
    },

    startAt: function() {
      var audio = ChronocellAudio;
      var now = audio.context.currentTime;
      return audio.nextStart > now ? audio.nextStart : now + audio.kRestartDelaySeconds;
    }
  },

  chronocell_audio_available__deps: ['$ChronocellAudio'],
  chronocell_audio_available: function() {
    return ChronocellAudio.contextClass() ? 1 : 0;
  },

  // Seconds of what was queued still to be heard; -1 while the context is not running.
  chronocell_audio_queued_seconds__deps: ['$ChronocellAudio'],
  chronocell_audio_queued_seconds: function() {
    var audio = ChronocellAudio;
    if (!audio.running()) {
      return -1;
    }
    return Math.max(0, audio.nextStart - audio.context.currentTime);
  },

  chronocell_audio_queue__deps: ['$ChronocellAudio'],
  chronocell_audio_queue: function(pointer, frames) {
    var audio = ChronocellAudio;
    if (!audio.running()) {
      audio.blocksDropped++;
      audio.nextStart = 0;
      return;
    }
    var source = audio.context.createBufferSource();
    source.buffer = audio.toBuffer(pointer, frames);
    source.connect(audio.context.destination);
    var start = audio.startAt();
    source.start(start);
    audio.nextStart = start + frames / audio.kFramesPerSecond;
    audio.blocksQueued++;
  }
});
