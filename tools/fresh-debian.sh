#!/usr/bin/env bash
# The README's two commands on a fresh Debian machine: builds a new Debian
# root (mmdebstrap, --variant=minbase, plus git, make and ca-certificates),
# with the apt sources a fresh install of that release has (RELEASE,
# RELEASE-updates, RELEASE-security; main) taken from this machine's own
# archive and security archive (tools/apt-source.sh), clones this checkout's
# HEAD into it as /root/vemora, and runs `make demo` and then `make test`
# there as root in a chroot. It ends with both exit codes and times, and last
# the last line `make test` printed (its totals).
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
set -euo pipefail
checkout=$(cd "$(dirname "$0")/.." && pwd)
apt_root=${VEMORA_APT_ROOT:-}

refuse() { echo "fresh-debian.sh: $*" >&2; exit 1; }

# The steps inside the namespaces (see run_inside below); not for callers.
if [ "${1:-}" = --inside ]; then
  inside=1
  shift
fi

print_only=
if [ "${1:-}" = --sources ]; then
  print_only=1
  shift
fi
version=${1:-13}
case "$version" in
  12) codename=bookworm ;;
  13) codename=trixie ;;
  *) refuse "unknown Debian release '$version' (12 or 13)" ;;
esac

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
  # Components: main, as a fresh install has; address and key as they are here.
  stanza() { sed 1d <<<"$2" | sed -e "s/^Components: .*/Components: main/" -e "1a Suites: $1" -e "1i Types: deb"; }
  printf '%s\n\n%s\n' "$(stanza "$codename $codename-updates" "$archive")" "$(stanza "$codename-security" "$security")"
}

if [ -n "$print_only" ]; then
  sources=$(fresh_sources) || refuse "$sources"
  printf '%s\n' "$sources"
  exit 0
fi

# --- Inside: a mount and PID namespace of our own, as PID 1 -------------------
# WORK holds debian.sources, the root (root/) and each command's result.
if [ -n "${inside:-}" ]; then
  work=${2:?}
  root=$work/root
  trap 'exit 130' INT
  trap 'exit 143' TERM
  echo "== fresh Debian $version ($codename): mmdebstrap --variant=minbase into $root"
  mmdebstrap --variant=minbase --include=git,make,ca-certificates "$codename" "$root" - <"$work/debian.sources"
  # The sources exactly as a fresh install has them, in one file.
  rm -f "$root/etc/apt/sources.list" "$root"/etc/apt/sources.list.d/*
  cp "$work/debian.sources" "$root/etc/apt/sources.list.d/debian.sources"
  echo "== fresh Debian $version ($codename): its apt sources"
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
    || echo "== fresh Debian $version ($codename): uncommitted changes of the checkout are not in the clone"
  echo "== fresh Debian $version ($codename): /root/vemora at $(git -C "$root/root/vemora" log -1 --format='%h %s')"

  # make TARGET in the chroot, as root, in a clean environment; its output
  # shown and kept (standard output) for the closing line, its exit code and
  # time in WORK/TARGET.result.
  in_root() {
    local start status
    echo "== fresh Debian $version ($codename): make $1"
    start=$(date +%s)
    set +e
    chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" \
      PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
      /bin/sh -c "cd /root/vemora && exec make $1" | tee "$work/$1.log"
    status=${PIPESTATUS[0]}
    set -e
    echo "$status $(( $(date +%s) - start ))" >"$work/$1.result"
  }
  in_root demo
  in_root test
  exit 0
fi

# --- Outside: checks, the namespaces, the summary ----------------------------
[ "${VEMORA_FRESH_UID:-$(id -u)}" -eq 0 ] || refuse "needs root (it builds a Debian root and chroots into it)"
sources=$(fresh_sources) || refuse "$sources"

command -v mmdebstrap >/dev/null || "$checkout/tools/apt-install.sh" mmdebstrap \
  || refuse "mmdebstrap is missing and could not be installed"

work=$(mktemp -d "${VEMORA_FRESH_TMP:-/var/tmp}/vemora-fresh-$codename.XXXXXX")
# apt downloads as _apt, into the root inside.
chmod 755 "$work"
printf '%s\n' "$sources" >"$work/debian.sources"
ns=

# Ends the namespace (SIGKILL to its PID 1 takes every process in it and,
# with the last of them, its mounts), then removes the root unless KEEP=1.
# Nothing is mounted in this namespace, so the removal cannot reach outside
# the root; --one-file-system makes sure of it.
finish() {
  local child
  if [ -n "$ns" ] && kill -0 "$ns" 2>/dev/null; then
    for child in $(cat "/proc/$ns/task/$ns/children" 2>/dev/null); do
      kill -KILL "$child" 2>/dev/null || true
    done
    kill -KILL "$ns" 2>/dev/null || true
    wait "$ns" 2>/dev/null || true
    # PID 1's end waits for every other process of the namespace.
    for child in $(cat "/proc/$ns/task/$ns/children" 2>/dev/null); do
      while [ -e "/proc/$child" ] && ! grep -qs '^[^)]*) Z' "/proc/$child/stat"; do sleep 0.1; done
    done
  fi
  if [ "${KEEP:-}" = 1 ]; then
    echo "== fresh Debian $version ($codename): KEEP=1, the root stays in $work/root (remove $work when done)"
  else
    rm -rf --one-file-system "$work"
  fi
}
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

summary=()
failed=$inside_status
for target in demo test; do
  if read -r status seconds 2>/dev/null <"$work/$target.result"; then
    summary+=("== fresh Debian $version ($codename): make $target exited $status after $seconds s")
    [ "$status" -eq 0 ] || failed=1
  else
    summary+=("== fresh Debian $version ($codename): make $target did not run")
    failed=1
  fi
done
totals=$(grep . "$work/test.log" 2>/dev/null | tail -n 1 || true)
finish
trap - INT TERM
[ "$inside_status" -eq 0 ] || echo "== fresh Debian $version ($codename): the fresh root could not be made or used (exit $inside_status)"
printf '%s\n' "${summary[@]}"
# The last line make test printed, its totals when it got that far.
[ -z "$totals" ] || printf '%s\n' "$totals"
[ "$failed" -eq 0 ]
