#!/bin/sh
# Regenerates assets/objects: the character with headless Blender (installed from Debian on
# first use), the stone, tree and clock with a plain Python script. Two runs give the same bytes.
set -eu
cd "$(dirname "$0")/../.."
out=assets/objects
mkdir -p "$out"

if ! command -v blender >/dev/null 2>&1; then
    SUDO=""
    if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
    $SUDO apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends blender
fi

# The exporter keeps some objects in hashed containers: a fixed seed fixes their order.
PYTHONHASHSEED=0 blender -b --factory-startup --python-use-system-env \
    --python tools/models/character.py -- "$PWD/$out/character.fbx"
python3 tools/models/props.py "$out"
sha256sum "$out"/character.fbx "$out"/*.obj "$out"/*.mtl
