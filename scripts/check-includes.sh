#!/usr/bin/env bash
# Fails, naming file and line, on every #include "..." under src/ that runs against the
# layers' directions:
#   app/ includes anything;
#   dialogs/, printing/, bitmap/ include base/, document/, view/ and themselves;
#   view/ includes base/, document/ and itself;
#   document/ includes base/, itself and view/FontInfo.h (a document owns its text metrics);
#   view/FontInfo.h includes base/ alone; base/ includes system headers alone.
# resources/resource.h holds ids only and may be included from everywhere.
# Usage: check-includes.sh [src folder]   (default: src/ beside this script)
set -uo pipefail
src="${1:-$(dirname "$0")/../src}"
cd "$src" || exit 2

allowed() { # $1: including file, $2: included path
    local from="$1" inc="$2" layer="${1%%/*}" target
    [ "$inc" = resources/resource.h ] && return 0
    case "$inc" in
        */*) target="${inc%%/*}" ;;
        *) target="$layer" ;; # a bare name is a neighbour in the same folder
    esac
    [ "$from" = view/FontInfo.h ] && { [ "$target" = base ]; return; }
    [ "$target" = "$layer" ] && return 0
    case "$layer" in
        app) return 0 ;;
        dialogs | printing | bitmap) [[ "$target" =~ ^(base|document|view)$ ]] ;;
        view) [[ "$target" =~ ^(base|document)$ ]] ;;
        document) [ "$target" = base ] || [ "$inc" = view/FontInfo.h ] ;;
        *) return 1 ;;
    esac
}

bad=0
while IFS= read -r hit; do
    file="${hit%%:*}"; rest="${hit#*:}"; line="${rest%%:*}"
    inc="$(sed -E 's/^[^"]*"([^"]*)".*/\1/' <<<"${rest#*:}")"
    if ! allowed "$file" "$inc"; then
        echo "src/$file:$line: #include \"$inc\" runs against the layers' directions"
        bad=1
    fi
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' --include='*.h' \
             --include='*.cpp' --include='*.rc' . | sed 's#^\./##' | sort -t: -k1,1 -k2,2n)

[ $bad -eq 0 ] && echo "include directions: every include keeps its layer's direction"
exit $bad
