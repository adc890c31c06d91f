# Sourced by the scripts right after their `set -euo pipefail`: a command that ends a script
# (also inside a function or subshell) names itself, its line and its exit code, so that no
# script ends silently.
set -E
trap 'veltor_status=$?; echo "$(basename "$0"): line $LINENO: \"$BASH_COMMAND\" failed with exit code $veltor_status" >&2' ERR
