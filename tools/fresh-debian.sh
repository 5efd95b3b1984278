#!/usr/bin/env bash
# The README's two commands on a fresh Debian machine: builds a new Debian
# root (mmdebstrap, --variant=minbase, plus git, make and ca-certificates),
# with the apt sources a fresh install of that release has (RELEASE,
# RELEASE-updates, RELEASE-security; main) taken from this machine's own
# archive and security archive (tools/apt-source.sh), clones this checkout's
# HEAD into it as /root/vemora, and runs `make demo` and then `make test`
# there as root in a chroot. It ends with both exit codes and times, and last
# the totals line of `make test` (or, should it stop before its suites, the
# last line it printed).
#
#   fresh-debian.sh [12|13]    (default 13)
#   fresh-debian.sh --sources [12|13]   only print the apt sources it would write
#
# Everything runs in a mount and PID namespace of its own, so that no mount
# and no process started inside (a wineserver, a build) outlives the run,
# whatever ends it. The root is made in a new folder under /var/tmp
# (VEMORA_FRESH_TMP) and removed at the end, unless KEEP=1. It refuses in one
# line on standard error, leaving nothing behind, when not root, for an
# unknown release, or when the machine's sources have no Debian archive.
# VEMORA_APT_ROOT reads another machine's apt configuration and os-release
# (the tests' stand-ins); VEMORA_FRESH_UID stands in for the user id there.
#
# The whole script is read before it starts (main, on the last line): a run
# takes many minutes, and bash would read an edited script on from where it
# stood.
set -euo pipefail
checkout=$(cd "$(dirname "$0")/.." && pwd)
apt_root=${VEMORA_APT_ROOT:-}
# The outside's namespace (its unshare) and work folder, for finish.
ns=
work=

refuse() { echo "fresh-debian.sh: $*" >&2; exit 1; }
say() { echo "== fresh Debian $version ($codename): $*"; }

# The deb822 sources of a fresh install of the release, from the archive and
# the security archive that this machine takes its own release from.
fresh_sources() {
  local host archive security
  grep -qsx 'ID=debian' "$apt_root/etc/os-release" \
    || { echo "this machine is not Debian, so its sources name no Debian archive"; return 1; }
  host=$(sed -n 's/^VERSION_CODENAME=//p' "$apt_root/etc/os-release" | tr -d '"')
  [ -n "$host" ] || { echo "this machine's release has no codename"; return 1; }
  archive=$("$checkout/tools/apt-source.sh" "$host" "$apt_root" 2>/dev/null) \
    || { echo "no Debian archive for $host in this machine's apt sources"; return 1; }
  security=$("$checkout/tools/apt-source.sh" "$host-security" "$apt_root" 2>/dev/null) \
    || { echo "no Debian security archive for $host-security in this machine's apt sources"; return 1; }
  printf '%s\n\n%s\n' "$(stanza "$codename $codename-updates" "$archive")" "$(stanza "$codename-security" "$security")"
}

# stanza SUITES ENTRY: apt-source.sh's ENTRY for SUITES, with main alone, as a
# fresh install has; address and key as they are here.
stanza() {
  sed 1d <<<"$2" | sed -e "s/^Components: .*/Components: main/" -e "1a Suites: $1" -e "1i Types: deb"
}

# --- Inside: a mount and PID namespace of our own, as its PID 1 --------------
# WORK holds debian.sources, the root (root/), and each command's output and
# result.
inside() {
  local work=$1 root=$1/root head
  trap 'exit 130' INT
  trap 'exit 143' TERM
  say "mmdebstrap --variant=minbase into $root"
  mmdebstrap --variant=minbase --include=git,make,ca-certificates "$codename" "$root" - <"$work/debian.sources"
  # The sources exactly as a fresh install has them, in one file.
  rm -f "$root/etc/apt/sources.list" "$root"/etc/apt/sources.list.d/*
  cp "$work/debian.sources" "$root/etc/apt/sources.list.d/debian.sources"
  say "its apt sources"
  cat "$root/etc/apt/sources.list.d/debian.sources"

  # What the chroot needs; these mounts live in this namespace only.
  mount -t proc proc "$root/proc"
  mount -t sysfs sysfs "$root/sys"
  mount --rbind /dev "$root/dev"
  mount -t tmpfs -o nosuid,nodev,mode=1777 tmpfs "$root/dev/shm"
  cp -L /etc/resolv.conf "$root/etc/resolv.conf"

  # This checkout's HEAD, committed work only.
  head=$(git -C "$checkout" rev-parse HEAD)
  git clone -q "$checkout" "$root/root/vemora"
  git -C "$root/root/vemora" checkout -q --detach "$head" 2>/dev/null \
    || { git -C "$root/root/vemora" fetch -q origin "$head" && git -C "$root/root/vemora" checkout -q --detach "$head"; }
  [ -z "$(git -C "$checkout" status --porcelain --untracked-files=no)" ] \
    || say "uncommitted changes of the checkout are not in the clone"
  say "/root/vemora at $(git -C "$root/root/vemora" log -1 --format='%h %s')"

  in_root "$work" demo
  in_root "$work" test
}

# in_root WORK TARGET: make TARGET in the chroot, as root, in a clean
# environment; its output shown and kept for the closing line, its exit code
# and time in WORK/TARGET.result.
in_root() {
  local work=$1 target=$2 start status
  say "make $target"
  start=$(date +%s)
  set +e
  chroot "$work/root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    /bin/sh -c "cd /root/vemora && exec make $target" 2>&1 | tee "$work/$target.log"
  status=${PIPESTATUS[0]}
  set -e
  echo "$status $(( $(date +%s) - start ))" >"$work/$target.result"
}

# --- Outside: the checks, the namespaces, the summary ------------------------
# finish: ends the namespace (SIGKILL to its PID 1 takes every process in it
# and, with the last of them, its mounts), then removes the root unless
# KEEP=1. Nothing is mounted in this namespace, so the removal cannot reach
# outside the root; --one-file-system makes sure of it.
finish() {
  local init child
  if [ -n "$ns" ] && kill -0 "$ns" 2>/dev/null; then
    init=$(cat "/proc/$ns/task/$ns/children" 2>/dev/null || true)
    for child in $init; do kill -KILL "$child" 2>/dev/null || true; done
    kill -KILL "$ns" 2>/dev/null || true
    wait "$ns" 2>/dev/null || true
    # PID 1's end waits for every other process of the namespace.
    for child in $init; do
      while [ -e "/proc/$child" ] && ! grep -qs '^[^)]*) Z' "/proc/$child/stat"; do sleep 0.1; done
    done
  fi
  if [ "${KEEP:-}" = 1 ]; then
    say "KEEP=1: the root stays in $work/root (remove $work when done)"
  else
    rm -rf --one-file-system "$work"
  fi
}

outside() {
  local sources inside_status failed target status seconds totals line summary=()
  [ "${VEMORA_FRESH_UID:-$(id -u)}" -eq 0 ] || refuse "needs root (it builds a Debian root and chroots into it)"
  sources=$(fresh_sources) || refuse "$sources"
  command -v mmdebstrap >/dev/null || "$checkout/tools/apt-install.sh" mmdebstrap \
    || refuse "mmdebstrap is missing and could not be installed"

  work=$(mktemp -d "${VEMORA_FRESH_TMP:-/var/tmp}/vemora-fresh-$codename.XXXXXX")
  # apt downloads as _apt, into the root inside.
  chmod 755 "$work"
  printf '%s\n' "$sources" >"$work/debian.sources"
  trap 'finish; exit 130' INT
  trap 'finish; exit 143' TERM
  # --kill-child: the namespace ends with unshare, should unshare be killed.
  unshare --mount --propagation private --pid --fork --mount-proc --kill-child=SIGKILL \
    "$0" --inside "$version" "$work" &
  ns=$!
  set +e
  wait "$ns"
  inside_status=$?
  set -e

  failed=$inside_status
  for target in demo test; do
    if read -r status seconds 2>/dev/null <"$work/$target.result"; then
      summary+=("make $target exited $status after $seconds s")
      [ "$status" -eq 0 ] || failed=1
    else
      summary+=("make $target did not run")
      failed=1
    fi
  done
  # make test's totals line, the last it prints but for make's own word on
  # a failure; else (it stopped before its suites) the last line it printed.
  totals=$(grep -E '^[0-9]+ passed, [0-9]+ failed' "$work/test.log" 2>/dev/null | tail -n 1 || true)
  [ -n "$totals" ] || totals=$(grep . "$work/test.log" 2>/dev/null | tail -n 1 || true)
  finish
  trap - INT TERM
  [ "$inside_status" -eq 0 ] || say "the fresh root could not be made or used (exit $inside_status)"
  for line in "${summary[@]}"; do say "$line"; done
  [ -z "$totals" ] || printf '%s\n' "$totals"
  [ "$failed" -eq 0 ]
}

main() {
  local mode=outside
  case "${1:-}" in
    --inside) mode=inside; shift ;;   # the namespaces' PID 1, started by outside
    --sources) mode=sources; shift ;;
  esac
  version=${1:-13}
  case "$version" in
    12) codename=bookworm ;;
    13) codename=trixie ;;
    *) refuse "unknown Debian release '$version' (12 or 13)" ;;
  esac
  case "$mode" in
    inside) inside "${2:?}" ;;
    sources) sources=$(fresh_sources) || refuse "$sources"; printf '%s\n' "$sources" ;;
    outside) outside ;;
  esac
}

main "$@"; exit
