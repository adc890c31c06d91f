#!/usr/bin/env bash
# Checks that the project's own C++ sources (source/, tests/, bench/, tools/winprobe/) are laid
# out as .clang-format says, and names those that are not. With --apply, formats them in place.
# Needs clang-format 14 (scripts/setup.sh installs it): other versions lay out code differently.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
format=$(command -v clang-format-14 || true)
if [ -z "$format" ]; then
  echo "check-format: clang-format-14 is missing (run scripts/setup.sh)" >&2
  exit 1
fi

mapfile -d '' files < <(find source tests bench tools/winprobe -type f \
                          \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
# format_all: formats the files in place, under the current folder. One clang-format run formats
# a batch of files: its start-up costs more than formatting one.
format_all() {
  printf '%s\0' "${files[@]}" | xargs -0 -n 64 -P "$(nproc)" "$format" -i --style=file
}

if [ "${1:-}" = --apply ]; then
  format_all
  exit 0
fi

# Formats copies in a scratch folder and names each file whose copy changed.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp .clang-format "$scratch/"
printf '%s\0' "${files[@]}" | xargs -0 cp --parents -t "$scratch"
(cd "$scratch" && format_all)
unformatted=$(for f in "${files[@]}"; do cmp -s "$f" "$scratch/$f" || echo "$f"; done)
if [ -n "$unformatted" ]; then
  echo "check-format: not laid out as .clang-format says (scripts/check-format.sh --apply" \
       "formats them):" >&2
  echo "$unformatted" | sed 's/^/  /' >&2
  exit 1
fi
