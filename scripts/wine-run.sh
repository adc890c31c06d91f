#!/usr/bin/env bash
# Runs a Windows program under the project's Wine prefix (the CMake cross-compiling emulator).
source "$(dirname "$0")/wine-env.sh"
veltor_wine_prefix
exec wine "$@"
