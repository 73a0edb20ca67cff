#!/usr/bin/env bash
# Installs Quillora for the current user, without root:
#   scripts/install.sh [--build-dir DIR] [PROGRAM_FOLDER]
# PROGRAM_FOLDER (default ~/.local/share/Quillora) receives Quillora, Quillrid and the help file;
# the menu entries go to ~/.local/share/applications/Quillora/ and Quillora.desktop to the
# desktop folder. Without --build-dir the release build is made first (scripts/quillora.sh does
# the same for `run`). The program folder must be a folder of Quillora's own: Un-Install Quillora
# asks the user to delete it.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=""
folder=""
while [ $# -gt 0 ]; do
    case "$1" in
    --build-dir) build_dir=${2:?--build-dir needs a folder}; shift 2 ;;
    -h|--help) sed -n '2,8p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "install.sh: unknown option $1" >&2; exit 2 ;;
    *) [ -z "$folder" ] || { echo "install.sh: one program folder only" >&2; exit 2; }
       folder=$1; shift ;;
    esac
done

: "${HOME:?HOME must name your home folder}"
folder=${folder:-$HOME/.local/share/Quillora}
case "$folder" in
/*) ;;
*) folder=$PWD/$folder ;;
esac
folder=${folder%/}
folder=${folder:-/}

# Refuse folders that hold other things the user could be told to delete by hand.
for shared in / "$HOME" /usr /usr/local /opt /bin /etc /home "${XDG_DATA_HOME:-$HOME/.local/share}"; do
    if [ "$folder" = "${shared%/}" ] || [ "$folder" = "$shared" ]; then
        echo "install.sh: $folder is not a folder of Quillora's own; choose e.g. $folder/Quillora" >&2
        exit 2
    fi
done

cmake=${CMAKE:-cmake}
if [ -z "$build_dir" ]; then
    build_dir=${QUILLORA_BUILD_ROOT:-$here/build}/release
    "$cmake" -S "$here" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    "$cmake" --build "$build_dir" --target Quillora Quillrid -j "$(nproc 2>/dev/null || echo 2)"
fi

"$cmake" --install "$build_dir" --prefix "$folder"
echo "Quillora is installed in $folder"
