#!/usr/bin/env bash
# Checks the layers' include rules and names every include that breaks one:
# - source/driver/ (the graphics layer and its drivers) includes only its own headers and system
#   or standard headers;
# - source/windows/toolkit/ includes no protocol, world or game-window header: the toolkit
#   depends only on the core, the graphics layer, fonts, the drawing helpers, the platform seams,
#   the configuration and itself.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root/source"

# The headers the toolkit must not include, as paths under source/.
forbidden='^(protocol[^/]*|netbuffer|networkmessage|world[^/]*|creature|tile|layer)\.h$'
forbidden+='|^placeholders\.h$|^windows/(game|front|dialogs|guide)/'
driver_rule='the graphics layer includes only itself'
toolkit_rule='the toolkit includes no protocol, world or game-window header'

# includes FILE: prints "LINE KIND PATH" for each include of FILE. KIND is "project" for a file
# of source/ (PATH is then relative to source/; a quoted name is looked up beside FILE first, as
# the compiler does), "quoted" for another name in quotes, "system" for another in brackets.
includes() {
  local file=$1 line form path
  grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"][^">]+[">]' "$file" |
    sed -E 's/^([0-9]+):[^<"]*([<"])([^">]+)[">].*/\1 \2 \3/' |
    while read -r line form path; do
      if [ "$form" = '"' ] && [ -f "$(dirname "$file")/$path" ]; then
        echo "$line project $(realpath -m --relative-to=. "$(dirname "$file")/$path")"
      elif [ -f "$path" ]; then
        echo "$line project $(realpath -m --relative-to=. "$path")"
      elif [ "$form" = '"' ]; then
        echo "$line quoted $path"
      else
        echo "$line system $path"
      fi
    done
}

violations=()
while IFS= read -r -d '' file; do
  while read -r line kind path; do
    [ "$kind" = system ] || [[ $path == driver/* && $kind = project ]] ||
      violations+=("source/$file:$line: includes $path ($driver_rule)")
  done < <(includes "$file")
done < <(find driver -type f \( -name '*.cpp' -o -name '*.h' \) -print0)
while IFS= read -r -d '' file; do
  while read -r line kind path; do
    [[ ! $path =~ $forbidden ]] ||
      violations+=("source/$file:$line: includes $path ($toolkit_rule)")
  done < <(includes "$file")
done < <(find windows/toolkit -type f \( -name '*.cpp' -o -name '*.h' \) -print0)

if [ ${#violations[@]} -gt 0 ]; then
  echo "check-includes: includes across the layers' bounds:" >&2
  printf '  %s\n' "${violations[@]}" | sort -t: -k1,1 -k2,2n >&2
  exit 1
fi
