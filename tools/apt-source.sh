#!/usr/bin/env bash
# Prints where this machine takes the Debian suite SUITE from: the first
# enabled "deb" entry naming SUITE in /etc/apt/sources.list,
# /etc/apt/sources.list.d/*.list or /etc/apt/sources.list.d/*.sources (in that
# order), as a line "# from FILE" and then its deb822 fields URIs, Components
# and Signed-By (when it has one; an inline key kept as it is). Nothing is
# written. Exit 1, saying so on standard error, when no such entry exists.
# Scripts that add a source (backports, a fresh root) take its address from
# here, so that none of them names one of its own.
#
#   apt-source.sh SUITE [ROOT]   (ROOT: another machine's root, default /)
set -euo pipefail
suite=${1:?usage: apt-source.sh SUITE [ROOT]}
root=${2:-}
apt_dir=$root/etc/apt

files=()
[ -f "$apt_dir/sources.list" ] && files+=("$apt_dir/sources.list")
for file in "$apt_dir"/sources.list.d/*.list "$apt_dir"/sources.list.d/*.sources; do
  [ -f "$file" ] && files+=("$file")
done

for file in "${files[@]}"; do
  case "$file" in
    *.sources)
      # deb822: stanzas parted by blank lines; a field may go on over lines
      # that begin with a space (an inline key), kept as they are.
      stanza=$(awk -v suite="$suite" '
        function flush() {
          if (found == "" && types ~ /(^| )deb( |$)/ && (" " suites " ") ~ (" " suite " ") \
              && tolower(enabled) != "no" && uris != "")
            found = "URIs: " uris "\nComponents: " components \
              (signed == "" ? "" : "\nSigned-By:" (substr(signed, 1, 1) == "\n" ? "" : " ") signed)
          types = uris = suites = components = signed = enabled = field = ""
        }
        /^#/ { next }
        /^[ \t]*$/ { flush(); next }
        /^[ \t]/ { if (field == "signed-by") signed = signed "\n" $0; next }
        {
          field = tolower(substr($0, 1, index($0, ":") - 1))
          value = substr($0, index($0, ":") + 1)
          gsub(/^[ \t]+|[ \t]+$/, "", value)
          if (field == "types") types = value
          else if (field == "uris") uris = value
          else if (field == "suites") suites = value
          else if (field == "components") components = value
          else if (field == "signed-by") signed = value
          else if (field == "enabled") enabled = value
        }
        END { flush(); if (found != "") print found }' "$file")
      ;;
    *)
      # One line an entry: deb [OPTIONS] URI SUITE COMPONENT...
      stanza=$(awk -v suite="$suite" '
        /^[ \t]*deb[ \t]/ {
          sub(/^[ \t]*deb[ \t]+/, "")
          options = ""
          if (substr($0, 1, 1) == "[") {
            options = substr($0, 2, index($0, "]") - 2)
            $0 = substr($0, index($0, "]") + 1)
          }
          sub(/#.*/, "")
          if (NF < 3 || $2 != suite) next
          components = $3
          for (i = 4; i <= NF; i++) components = components " " $i
          signed = ""
          n = split(options, option, /[ \t]+/)
          for (i = 1; i <= n; i++) if (option[i] ~ /^signed-by=/) signed = substr(option[i], 11)
          print "URIs: " $1 "\nComponents: " components (signed != "" ? "\nSigned-By: " signed : "")
          exit
        }' "$file")
      ;;
  esac
  if [ -n "$stanza" ]; then
    printf '# from %s\n%s\n' "$file" "$stanza"
    exit 0
  fi
done
echo "apt-source.sh: no apt source for $suite in $apt_dir/sources.list or $apt_dir/sources.list.d/" >&2
exit 1
