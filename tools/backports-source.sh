#!/usr/bin/env bash
# Prints the apt source (deb822) that enables CODENAME-backports from the
# archive this machine already uses for CODENAME (tools/apt-source.sh: its
# address(es), components and Signed-By). Nothing is written. Exit 1, saying
# so on standard error, when the machine has no entry for CODENAME.
#
#   backports-source.sh [CODENAME [ROOT]]   (default: bookworm, /)
set -euo pipefail
codename=${1:-bookworm}
root=${2:-}

entry=$("$(dirname "$0")/apt-source.sh" "$codename" "$root") || exit 1
printf '# %s-backports, from the archive of %s\nTypes: deb\n%s\n' "$codename" "$(sed -n '1s/^# from //p' <<<"$entry")" \
  "$(sed 1d <<<"$entry" | sed "1a Suites: $codename-backports")"
