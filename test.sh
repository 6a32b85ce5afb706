#!/bin/sh
# Installs what the tests need, builds and runs every test (Debug, ASan+UBSan,
# a short fuzz pass). Needs nothing but the shell; `make test` does the same.
set -e
cd "$(dirname "$0")"
scripts/install-deps --test
exec make test
