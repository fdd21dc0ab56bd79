#!/usr/bin/env bash
# docs_match_help.sh SOURCE_DIR PROGRAM...: each program's manual page describes, and the bash
# completion offers, exactly the long options its --help lists, so no option goes missing from
# either, nor outlives its removal; and the completion offers the files quennet reads.
set -euo pipefail
source_dir=$1
shift

# Options as --help lists them: first on their lines, "  -u, --upscaler" or "      --compare".
help_options() { "$1" --help | sed -nE 's/^  (-[a-z], |    )(--[a-z][a-z-]*).*/\2/p' | sort -u; }
# Options as a manual page describes them: the tags of its OPTIONS section.
page_options() {
  awk '/^\.SH/ { inside = ($2 == "OPTIONS") } inside && tag { print } { tag = /^\.TP/ }' "$1" |
    sed 's/\\-/-/g' | grep -oE -- '--[a-z][a-z-]*' | sort -u
}

source "$source_dir/assets/quennet.bash-completion"
status=0
for program in "$@"; do
  name=$(basename "$program")
  listed=$(help_options "$program")
  [ -n "$listed" ] || { echo "$name --help lists no options"; status=1; }
  if ! difference=$(diff <(echo "$listed") <(page_options "$source_dir/doc/$name.1")); then
    echo "$name: options of --help (<) and of doc/$name.1 (>) differ:"$'\n'"$difference"
    status=1
  fi
  COMP_WORDS=("$program" --)
  COMP_CWORD=1
  _quennet
  if ! difference=$(diff <(echo "$listed") <(printf '%s\n' "${COMPREPLY[@]}" | sort -u)); then
    echo "$name: options of --help (<) and of the completion (>) differ:"$'\n'"$difference"
    status=1
  fi
done

# Files by the extensions quennet --list gives, in either case, and folders.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/sub"
touch "$scratch/hero.png" "$scratch/TILE.BMP" "$scratch/walk.aseprite" "$scratch/notes.txt"
COMP_WORDS=("$1" "$scratch/")
COMP_CWORD=1
_quennet
offered=$(printf '%s\n' "${COMPREPLY[@]#"$scratch/"}" | sort | tr '\n' ' ')
if [ "$offered" != "TILE.BMP hero.png sub walk.aseprite " ]; then
  echo "the completion offers $offered for files"
  status=1
fi
exit $status
