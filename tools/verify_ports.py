#!/usr/bin/env python3
"""Every build of the game replays every recording alike: the release build's summaries of a
corpus of recorded games are compared, line for line and exit code for exit code, with those of
other builds of the rules: arm64 (cross-compiled, run under qemu-user), i386 (SSE2 arithmetic;
natively where the kernel runs 32-bit programs, else under qemu-user), the whole game built for
x86-64-v3 with a packager's fused multiply-add flags, clang at -O3 for x86-64-v3, an unoptimised
build, the release build on the C library's code for CPUs without FMA, and x86-64 Windows
(MinGW-w64's compiler and C library, run under Wine): chronocell-verify.exe, and the whole game
as `make windows` builds it in build-windows, replaying headless; and WebAssembly (emscripten's
libc++ and musl, run under node). The relic walk's cosine and sine, whose
library versions differ between such CPUs and C libraries, are compared across the same ports.

Usage: verify_ports.py BUILD_FOLDER [COUNT]
"""

import concurrent.futures
import os
import shutil
import subprocess
import sys
import time

SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
QEMU = ["qemu-aarch64-static", "-L", "/usr/aarch64-linux-gnu"]
I386_LOADER = ["/usr/i686-linux-gnu/lib/ld-linux.so.2", "--library-path", "/usr/i686-linux-gnu/lib"]
I386_QEMU = ["qemu-i386-static", "-L", "/usr/i686-linux-gnu"]
# Flags a packager might add that would fuse a*b+c, were the build not to turn that off.
FMA_FLAGS = "-O3 -march=x86-64-v3 -ffp-contract=fast"
JOBS = str(os.cpu_count() or 2)
# The C library's cosine and sine differ between its FMA code and its other code at a few
# arguments; this range holds four of them (a quarter of a second under qemu), every 4096th
# float of the relic walk's range the rest.
PROBE_SWEEPS = [["--from", "418a0000", "--to", "418affff"], ["--stride", "4096"]]
NO_FMA_LIBM = {"GLIBC_TUNABLES": "glibc.cpu.hwcaps=-AVX2,-FMA"}
# emscripten runs its JavaScript tools under node, which finds Debian's acorn through NODE_PATH.
EMSCRIPTEN = {"NODE_PATH": "/usr/share/nodejs"}
# What the toolchain file links chronocell-verify.js with, that the probe needs: main's exit code
# is node's, and the wasm is compiled as it loads rather than fetched, which node 20 cannot do
# for a file's path.
EMSCRIPTEN_PROBE_FLAGS = ["-sEXIT_RUNTIME=1", "-sWASM_ASYNC_COMPILATION=0"]


class Port:
    def __init__(self, name, folder, configure, target="chronocell-verify", runner=(),
                 environment=None, probe_compiler=None, probe_flags=(), run_environment=None,
                 suffix=""):
        self.name = name
        self.suffix = suffix
        self.run_environment = run_environment
        # None: the release build, built already.
        self.folder = os.path.join(SOURCE, folder) if folder else None
        self.configure = configure
        self.target = target
        self.runner = list(runner)
        self.environment = environment or {}
        self.probe_compiler = probe_compiler
        self.probe_flags = list(probe_flags)

    def replay_command(self, recording):
        if self.target == "chronocell":
            return self.runner + [os.path.join(self.folder, "chronocell" + self.suffix),
                                  "--replay", recording, "--headless"]
        return self.runner + [os.path.join(self.folder, "chronocell-verify" + self.suffix),
                              recording]


RULES_ONLY = ["-DCHRONOCELL_RULES_ONLY=ON", "-DCHRONOCELL_TESTS=OFF"]
PORTS = [
    Port("arm64", "build-arm64",
         RULES_ONLY + ["--toolchain", os.path.join(SOURCE, "cmake", "aarch64-linux-gnu.cmake")],
         runner=QEMU, probe_compiler="aarch64-linux-gnu-g++"),
    Port("i386", "build-i386",
         RULES_ONLY + ["--toolchain", os.path.join(SOURCE, "cmake", "i686-linux-gnu.cmake")],
         runner=I386_LOADER, probe_compiler="i686-linux-gnu-g++",
         probe_flags=["-msse2", "-mfpmath=sse"]),
    Port("x86-64-v3 game", "build-fma", ["-DCHRONOCELL_TESTS=OFF"], target="chronocell",
         environment={"CXXFLAGS": FMA_FLAGS, "CFLAGS": FMA_FLAGS},
         probe_compiler="g++", probe_flags=["-march=x86-64-v3"]),
    Port("clang -O3 x86-64-v3", "build-clang", RULES_ONLY + [
        "-DCMAKE_C_COMPILER=clang-14", "-DCMAKE_CXX_COMPILER=clang++-14",
        "-DCMAKE_BUILD_TYPE=Release"], environment={"CXXFLAGS": FMA_FLAGS, "CFLAGS": FMA_FLAGS},
         probe_compiler="clang++-14", probe_flags=["-march=x86-64-v3"]),
    Port("-O0", "build-O0", RULES_ONLY + ["-DCMAKE_BUILD_TYPE=Debug"]),
    # 32-bit WebAssembly under node, reading the recordings from the real file system.
    Port("WebAssembly under node", "build-wasm", RULES_ONLY + [
        "--toolchain", os.path.join(SOURCE, "cmake", "toolchains", "emscripten.cmake")],
         runner=["node"], environment=EMSCRIPTEN, probe_compiler="em++",
         probe_flags=EMSCRIPTEN_PROBE_FLAGS, suffix=".js"),
    # Windows' own C library (MinGW's) under Wine; the compiler's libraries are linked in. Both
    # Windows programs are built by `make windows`.
    Port("x86-64 Windows under Wine", "build-windows", None, runner=["wine"],
         probe_compiler="x86_64-w64-mingw32-g++-posix", probe_flags=["-static"], suffix=".exe"),
    # The whole Windows game, replaying headless under Wine.
    Port("x86-64 Windows game under Wine", "build-windows", None, target="chronocell",
         runner=["wine"], suffix=".exe"),
    # The release build itself, on the C library's code for CPUs without FMA (older x86-64).
    Port("x86-64 without FMA in the C library", None, None, run_environment=NO_FMA_LIBM),
]
WINDOWS = PORTS[-3]
WINDOWS_GAME = PORTS[-2]


def prepare_windows(build_folder):
    """A Wine prefix of the Windows ports' own; `make windows` has built both programs."""
    for program in ("chronocell-verify.exe", "chronocell.exe"):
        if not os.path.exists(os.path.join(WINDOWS.folder, program)):
            sys.exit(f"{WINDOWS.folder}/{program} is missing: `make windows` builds it")
    WINDOWS.run_environment = {"WINEPREFIX": os.path.join(build_folder, "wine"),
                               "WINEDEBUG": "-all"}
    WINDOWS_GAME.run_environment = WINDOWS.run_environment
    # Made once before the replays run side by side; each would otherwise race to make it.
    run(["wineboot", "-i"], environment=WINDOWS.run_environment, capture_output=True)
    # A crash then ends the program at once rather than waiting on Wine's debugger.
    run(["wine", "reg", "add", r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug",
         "/v", "Debugger", "/t", "REG_SZ", "/d", "", "/f"], environment=WINDOWS.run_environment,
        capture_output=True)


def i386_runner():
    """The i386 loader where the kernel runs 32-bit programs, qemu-user where it does not."""
    try:
        subprocess.run(I386_LOADER[:1] + ["--help"], capture_output=True, check=False)
        return I386_LOADER
    except OSError:
        return I386_QEMU


def run(command, environment=None, **kwargs):
    env = dict(os.environ, **(environment or {}))
    return subprocess.run(command, env=env, check=True, **kwargs)


def build(port):
    run(["cmake", "-S", SOURCE, "-B", port.folder, "-Wno-dev"] + port.configure,
        environment=port.environment, stdout=subprocess.DEVNULL)
    # The packager's -ffp-contract=fast draws a warning from clang where the build overrides it:
    # the point of these builds, so the compilers' output is shown only when a build fails.
    result = subprocess.run(["cmake", "--build", port.folder, "-j", JOBS, "--target",
                             port.target], capture_output=True, text=True,
                            env=dict(os.environ, **port.environment))
    if result.returncode != 0:
        sys.exit(f"{port.name}: the build failed:\n{result.stdout[-4000:]}{result.stderr[-4000:]}")


def replay(command, environment=None):
    result = subprocess.run(command, capture_output=True, text=True, timeout=600,
                            env=dict(os.environ, **(environment or {})))
    return result.returncode, result.stdout


def make_corpus(build_folder, count):
    corpus = os.path.join(build_folder, "corpus")
    shutil.rmtree(corpus, ignore_errors=True)
    os.makedirs(corpus)
    run([os.path.join(build_folder, "tests", "chronocell_make_corpus"), corpus, str(count)],
        stdout=subprocess.DEVNULL)
    recordings = sorted(os.path.join(corpus, name) for name in os.listdir(corpus)
                        if name.endswith(".ccr"))
    if len(recordings) != count:
        sys.exit(f"the corpus holds {len(recordings)} recordings, {count} were asked for")
    for name in ("won.ccr", "lost.ccr"):
        recordings.append(os.path.join(SOURCE, "tests", "replays", name))
    return recordings


def reference_summaries(build_folder, recordings):
    """The release build's summaries; each must be what its recorder printed while recording."""
    game = os.path.join(build_folder, "chronocell")
    with concurrent.futures.ThreadPoolExecutor(int(JOBS)) as pool:
        results = list(pool.map(lambda r: replay([game, "--replay", r, "--headless"]),
                                recordings))
    for recording, (code, out) in zip(recordings, results):
        with open(recording[:-len(".ccr")] + ".txt" if recording.startswith(SOURCE + "/tests")
                  else recording + ".txt") as file:
            recorded = file.read()
        if code != 0 or out != recorded:
            sys.exit(f"{recording}: the release build's replay ({code}) differs from what was "
                     f"recorded:\n{out}---\n{recorded}")
    return results


def compare(port, recordings, reference):
    with concurrent.futures.ThreadPoolExecutor(int(JOBS)) as pool:
        results = list(pool.map(lambda r: replay(port.replay_command(r), port.run_environment),
                                recordings))
    failures = [(recording, expected, got) for recording, expected, got
                in zip(recordings, reference, results) if expected != got]
    for recording, expected, got in failures[:5]:
        print(f"  {port.name}: {os.path.basename(recording)}: exit {got[0]}, expected "
              f"{expected[0]}\n    got:      {got[1]!r}\n    expected: {expected[1]!r}")
    return not failures


def probe_hashes(compiler, flags, binary, runner=(), environment=None, suffix="",
                 compile_environment=None):
    """The game's and the library's hashes of cosine and sine over the probe's sweeps."""
    run([compiler, "-std=c++20", "-O2", "-fno-fast-math", "-ffp-contract=off"] + flags +
        ["-I", os.path.join(SOURCE, "src"), os.path.join(SOURCE, "tools", "libm_probe.cpp"),
         os.path.join(SOURCE, "src", "world", "PortableTrig.cpp"), "-o", binary + suffix],
        environment=compile_environment)
    game, library = [], []
    for sweep in PROBE_SWEEPS:
        words = run(list(runner) + [binary + suffix] + sweep, environment=environment,
                    capture_output=True, text=True).stdout.split()
        game.append(words[words.index("game") + 1])
        library.append(words[words.index("libm") + 1])
    return game, library


def probe(port, native):
    if port.probe_compiler is None:
        return True
    # The probe is the one program here built without CMake, so it takes the rules' own
    # floating-point flags by hand.
    game, library = probe_hashes(port.probe_compiler, port.probe_flags,
                                 os.path.join(port.folder, "libm_probe"), port.runner,
                                 port.run_environment, port.suffix, port.environment)
    if library != native[1]:
        print(f"  {port.name}: the C library's cosine and sine differ from the release build's; "
              "the game's own agree" if game == native[0] else "")
    if game != native[0]:
        print(f"  {port.name}: the game's cosine and sine differ: {game} {native[0]}")
        return False
    return True


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    build_folder = os.path.abspath(sys.argv[1])
    count = int(sys.argv[2]) if len(sys.argv) == 3 else 120
    started = time.monotonic()
    recordings = make_corpus(build_folder, count)
    reference = reference_summaries(build_folder, recordings)
    native = probe_hashes("g++", [], os.path.join(build_folder, "libm_probe"))
    # The same machine with the C library's code for CPUs without FMA, as older x86-64 runs it.
    without_fma = probe_hashes("g++", [], os.path.join(build_folder, "libm_probe"),
                               environment=NO_FMA_LIBM)
    ok = without_fma[0] == native[0]
    print(f"x86-64 without FMA in the C library: cosine and sine "
          f"{'as the release build has them' if ok else 'DIFFER'}"
          f"{' (the library alone differs)' if without_fma[1] != native[1] else ''}")
    PORTS[1].runner = i386_runner()
    prepare_windows(build_folder)
    PORTS[-1].folder = build_folder
    for port in PORTS:
        port_started = time.monotonic()
        if port.configure is not None:
            build(port)
        same = compare(port, recordings, reference) and probe(port, native)
        print(f"{port.name}: {len(recordings)} recordings "
              f"{'replay as the release build does' if same else 'DIFFER'} "
              f"({time.monotonic() - port_started:.0f} s)")
        ok = ok and same
    print(f"{len(PORTS)} builds, {len(recordings)} recordings, "
          f"{time.monotonic() - started:.0f} s")
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
