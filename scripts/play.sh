#!/usr/bin/env bash
# Builds TUMBREL 2009 into build/ and starts it. Arguments go to the game (try --help).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

install_packages
configure_and_build "$REPO_ROOT/build"
exec "$REPO_ROOT/build/tumbrel" "$@"
