#!/usr/bin/env python3
"""etages.py SRC COMPILE_COMMANDS: the floors of src/ kept.

A file includes only headers of its own folder or of a folder below it that it may include;
the levels' records, the rules and the challenge game include no SDL header and are compiled
with no SDL include directory. Prints each breach and exits 1; exits 0 when there is none.
"""
import json
import pathlib
import re
import sys

# What each folder may include besides itself, from the ground up; "." is src/ itself, where
# the entry is. The viewer's folders stand beside the game's, not on them.
VISIONNEUSE = ["jeu", "fichiers", "rendu", "visionneuse"]
PERMIS = {
    "niveau": [],
    "regles": ["niveau"],
    "defi": ["niveau", "regles"],
}
for i, d in enumerate(VISIONNEUSE):
    PERMIS[d] = ["niveau"] + VISIONNEUSE[:i]
PERMIS["plateforme"] = ["niveau", "regles", "defi"] + VISIONNEUSE
PERMIS["page"] = PERMIS["plateforme"] + ["plateforme"]
PERMIS["."] = PERMIS["page"] + ["page"]
SANS_ECRAN = {"niveau", "regles", "defi"}

src = pathlib.Path(sys.argv[1]).resolve()
fautes = []


def dossier(chemin):
    parties = chemin.relative_to(src).parts
    return parties[0] if len(parties) > 1 else "."


fichiers = sorted(p for p in src.rglob("*") if p.suffix in (".h", ".cpp"))
for f in fichiers:
    ici = dossier(f)
    if ici not in PERMIS:
        fautes.append(f"{f.relative_to(src)}: folder {ici} is on no floor")
        continue
    for n, ligne in enumerate(f.read_text(encoding="utf-8").splitlines(), 1):
        lieu = f"{f.relative_to(src)}:{n}"
        m = re.match(r'\s*#\s*include\s*(["<])([^">]+)[">]', ligne)
        if m:
            cible = m.group(2)
            la = cible.split("/")[0] if "/" in cible else None
            if m.group(1) == "<" and la not in PERMIS:
                pass  # a library's header
            elif la is None:
                fautes.append(f"{lieu}: \"{cible}\" names no folder")
            elif la not in PERMIS:
                fautes.append(f"{lieu}: {cible} is on no floor")
            elif la != ici and la not in PERMIS[ici]:
                fautes.append(f"{lieu}: {ici} includes {cible}, which it may not")
        if ici in SANS_ECRAN and re.match(r"\s*#\s*include\s*<SDL", ligne):
            fautes.append(f"{lieu}: {ici} includes an SDL header")

vus = set()
for entree in json.loads(pathlib.Path(sys.argv[2]).read_text()):
    f = pathlib.Path(entree["file"]).resolve()
    if src not in f.parents or dossier(f) not in SANS_ECRAN:
        continue
    commande = entree.get("command") or " ".join(entree.get("arguments", []))
    # The floor's own library; a test harness may build the same sources with SDL beside them.
    if f"valdrune_{dossier(f)}.dir" not in commande:
        continue
    vus.add(dossier(f))
    if re.search(r"(-I|-isystem)\s*\S*/SDL\b", commande):
        fautes.append(f"{f.relative_to(src)}: compiled with SDL on its command line")

for d in sorted(SANS_ECRAN - vus):
    fautes.append(f"{d}: no compile command of valdrune_{d} to check")
for faute in fautes:
    print(faute)
sys.exit(1 if fautes else 0)
