"""Damaged copies of the game's content files and one short game with each: the cases of the
fault matrix and the checks every case must pass."""

import os
import random
import shutil

import harness

SETTINGS = "settings.ini"
SHADERS = ["shader/" + name for name in (
    "materialVertexShader.vert", "materialFragmentShader.frag",
    "vertexShaderAnimation.vert", "fragmentShaderAnimation.frag",
    "textureMaterialVertexShader.vert", "textureMaterialFragmentShader.frag",
    "particelShaderVertex.vert", "particelShaderFragment.frag",
    "textVertexShader.vert", "textFragmentShader.frag")]
MODELS = ["objects/" + name for name in ("clock.obj", "character.fbx", "stone.obj", "tree.obj")]
MATERIALS = ["objects/" + name for name in ("clock.mtl", "stone.mtl", "tree.mtl")]
TEXTURES = ["textures/grasTexture.jpg", "textures/pathTex.jpg"]
FONT = "fonts/Ansley_Display_Regular.ttf"
SOUNDS = ["sounds/%s.wav" % name for name in (
    "jump", "landing", "lane_change", "phase_switch", "relic_hint", "relic_mode",
    "clock_collected", "win", "loss", "meadow")]

RANDOM_SEED = 8


# --- damages: each takes the file's path inside a scratch copy of assets ------------------------
def missing(path):
    os.remove(path)


def empty(path):
    open(path, "wb").close()


def truncated(path):
    size = os.path.getsize(path)
    with open(path, "r+b") as file:
        file.truncate(size // 2)


def random_bytes(path):
    size = os.path.getsize(path)
    generator = random.Random(RANDOM_SEED)
    with open(path, "wb") as file:
        file.write(bytes(generator.getrandbits(8) for _ in range(size)))


def directory(path):
    os.remove(path)
    os.mkdir(path)


def replaced_by(other):
    """A valid file of another kind in place of this one (another model format, an image)."""
    def damage(path):
        shutil.copyfile(os.path.join(harness.OPTIONS.source, "assets", other), path)
    damage.__name__ = "replaced_by_" + os.path.basename(other).replace(".", "_")
    return damage


COMMON_DAMAGES = [missing, empty, truncated, random_bytes, directory]


def wrong_formats(name):
    """Valid files of another kind for a model or an image: the other model format and an
    image for a model; a model and a font for an image."""
    if name in MODELS:
        other = "objects/stone.obj" if name.endswith(".fbx") else "objects/character.fbx"
        return [replaced_by(other), replaced_by("textures/pathTex.jpg")]
    if name in TEXTURES:
        return [replaced_by("objects/stone.obj"), replaced_by(FONT)]
    return []


def damages(name):
    if name in SOUNDS:
        # One loader reads every sound: each file is damaged once, the damages taken in turn.
        return [COMMON_DAMAGES[SOUNDS.index(name) % len(COMMON_DAMAGES)]]
    return COMMON_DAMAGES + wrong_formats(name)


def case_name(name, damage):
    return "%s_%s" % (name.replace("/", "_").replace(".", "_"), damage.__name__)


def disk_audio():
    """SDL's disk driver in place of a sound card, so the sounds are loaded; it writes the mix
    to a file in the game's scratch folder."""
    return {"SDL_AUDIODRIVER": "disk", "SDL_DISKAUDIOFILE": "mix.raw"}


# --- one short game -----------------------------------------------------------------------------
class CaseResult:
    def __init__(self):
        self.stdout = ""
        self.stderr = ""
        self.exit_code = None
        self.problems = []


def play_case(name, damage, xvfb):
    """Starts the game on damaged content, presses Enter, Escape, Escape and records what the
    game did. Escape in play returns to the start screen and only a second one quits, so a game
    that is still running after the first Escape was playing. Escape comes two passes after
    Enter, once a frame of play has been drawn and long before a stone can reach the runner."""
    result = CaseResult()
    game = harness.GameRun(prepare=lambda assets: damage(os.path.join(assets, name)), xvfb=xvfb,
                           leak_check=True, env=disk_audio() if name in SOUNDS else None)
    try:
        game.wait_window(timeout=60)
        game.tap("Return")
        if not game.sync(2):
            result.problems.append("the game ended on Enter")
        game.tap("Escape")
        if not game.sync(2):
            result.problems.append("the first Escape ended the game: it was not playing")
        game.tap("Escape")
        result.exit_code = game.wait_exit(timeout=60)
    except RuntimeError as error:
        result.problems.append(str(error))
    finally:
        result.stdout = game.stdout()
        result.stderr = game.stderr()
        game.close()
    return result
