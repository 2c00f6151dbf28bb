#!/usr/bin/env bash
# The example day's runs killed, and their writes failed, at a sample of
# their system calls; each time the next run must leave the data directory
# exactly as a run that was never interrupted (scripts/queda-strace; the
# full sweep is that script without --amostra).
raiz=$(cd "$(dirname "$0")/../.." && pwd)
exec "$raiz/scripts/queda-strace" "$1" --amostra 3
