#!/usr/bin/env bash
# licences.sh: debian/copyright against the source tree, as a sponsor would check it: each of
# its Files patterns names something, every file falls under a paragraph, and wherever
# licensecheck finds a licence, the paragraph the file falls under (the last that matches, as
# the copyright format says) names the same one.
# Usage: licences.sh SOURCE_DIR
set -euo pipefail
cd "$1"
copyright=debian/copyright
echec() { echo "FAILED: $*" >&2; exit 1; }

# The files of a clean checkout, as they are now.
fichiers=()
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    while IFS= read -r -d '' f; do
        [ -f "$f" ] && fichiers+=("$f")
    done < <(git ls-files -z --cached --others --exclude-standard)
else
    while IFS= read -r -d '' f; do fichiers+=("${f#./}"); done < \
        <(find . \( -path ./.git -o -path './build*' -o -path './obj-*' \) -prune -o -type f -print0)
fi

# The Files paragraphs, in order: their patterns and their licence's short name.
motifs=() licences=()
motif='' dans_files=''
while IFS= read -r ligne; do
    case $ligne in
        Files:*) motif=${ligne#Files:}; dans_files=oui ;;
        " "*) [ "$dans_files" != oui ] || motif="$motif $ligne" ;;
        License:*)
            if [ -n "$motif" ]; then
                motifs+=("$motif")
                licence=${ligne#License:}
                licences+=("${licence# }")
            fi
            motif='' dans_files='' ;;
        *) dans_files='' ;;
    esac
done <"$copyright"
[ ${#motifs[@]} -gt 0 ] || echec "$copyright has no Files paragraph"

# paragraphe FILE: the index of the last paragraph whose patterns match FILE, or nothing.
# A pattern's * matches any characters, slashes included, as bash's [[ == ]] does.
paragraphe() {
    local i p trouve=
    for i in "${!motifs[@]}"; do
        for p in ${motifs[$i]}; do
            # shellcheck disable=SC2053  # the pattern is meant to match
            [[ $1 == $p ]] && trouve=$i
        done
    done
    echo "$trouve"
}

set -f
for i in "${!motifs[@]}"; do
    for p in ${motifs[$i]}; do
        servi=
        for f in "${fichiers[@]}"; do
            # shellcheck disable=SC2053
            [[ $f == $p ]] && { servi=oui; break; }
        done
        [ -n "$servi" ] || echec "$copyright: Files pattern $p matches no file"
    done
done

# mots LICENCE: its words, without versions, "with", "exception" or brackets, one a line.
mots() {
    tr '[:upper:]' '[:lower:]' <<<"$1" | sed -E 's/[0-9]+(\.[0-9]+)*\+?//g; s#and/or# #g; s/[()-]/ /g' |
        tr ' ' '\n' | grep -Evx 'with|exception|' | sort -u
}

# licensecheck reads the text files; a binary one carries no licence it could find.
trouves=0 textes=()
for f in "${fichiers[@]}"; do
    [ -n "$(paragraphe "$f")" ] || echec "$f falls under no Files paragraph"
    ! grep -Iq '' "$f" || textes+=("$f")
done
while IFS=$'\t' read -r f licence _; do
    if [ "$licence" = UNKNOWN ] || [ "$f" = "$copyright" ]; then continue; fi
    trouves=$((trouves + 1))
    i=$(paragraphe "$f")
    manque=$(comm -23 <(mots "$licence") <(mots "${licences[$i]}"))
    [ -z "$manque" ] ||
        echec "$f: licensecheck finds $licence, $copyright says ${licences[$i]}"
done < <(licensecheck --machine --shortname-scheme=debian --check '.*' --lines 0 \
    --encoding utf8 -- "${textes[@]}")
[ "$trouves" -gt 0 ] || echec "licensecheck found no licence at all: LICENSE is not read"
echo "$copyright: ${#fichiers[@]} files covered, the $trouves licences licensecheck finds agree"
