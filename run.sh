#!/bin/sh
# Installs what building and running the window needs, builds it and opens it.
# Needs nothing but the shell: on a fresh Debian 12 even make comes from here.
# Those who have make can type `make run` instead.
set -e
cd "$(dirname "$0")"
scripts/install-deps
exec make run
