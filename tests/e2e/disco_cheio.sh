#!/usr/bin/env bash
# Every run of the example day on a real full disk (a small tmpfs filled to
# a few kilobytes): once the space is freed, the next run must leave the
# data directory exactly as a run that had room. Needs root to mount the
# tmpfs; skipped otherwise.
raiz=$(cd "$(dirname "$0")/../.." && pwd)
exec "$raiz/scripts/queda-strace" "$1" --disco-cheio
