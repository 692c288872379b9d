#!/usr/bin/env python3
"""etages.py SRC COMPILE_COMMANDS: the floors of src/ kept.

A file includes only headers of its own folder or of a folder on a floor below; the levels'
records, the rules and the challenge game include no SDL header and are compiled with no SDL
include directory. Prints each breach and exits 1; exits 0 when there is none.
"""
import json
import pathlib
import re
import sys

# From the ground up; "." is src/ itself, where the entry is.
ETAGES = ["niveau", "regles", "defi", "jeu", "fichiers", "rendu", "visionneuse", "plateforme",
          "page", "."]
SANS_ECRAN = {"niveau", "regles", "defi"}

src = pathlib.Path(sys.argv[1]).resolve()
fautes = []


def dossier(chemin):
    parties = chemin.relative_to(src).parts
    return parties[0] if len(parties) > 1 else "."


fichiers = sorted(p for p in src.rglob("*") if p.suffix in (".h", ".cpp"))
for f in fichiers:
    ici = dossier(f)
    if ici not in ETAGES:
        fautes.append(f"{f.relative_to(src)}: folder {ici} is on no floor")
        continue
    for n, ligne in enumerate(f.read_text(encoding="utf-8").splitlines(), 1):
        lieu = f"{f.relative_to(src)}:{n}"
        m = re.match(r'\s*#\s*include\s*"([^"]+)"', ligne)
        if m:
            cible = m.group(1)
            if "/" not in cible:
                fautes.append(f"{lieu}: \"{cible}\" names no folder")
                continue
            la = cible.split("/")[0]
            if la not in ETAGES:
                fautes.append(f"{lieu}: {cible} is on no floor")
            elif ETAGES.index(la) > ETAGES.index(ici):
                fautes.append(f"{lieu}: {ici} includes {cible}, a floor above it")
        if ici in SANS_ECRAN and re.match(r"\s*#\s*include\s*<SDL", ligne):
            fautes.append(f"{lieu}: {ici} includes an SDL header")

for entree in json.loads(pathlib.Path(sys.argv[2]).read_text()):
    f = pathlib.Path(entree["file"]).resolve()
    if src not in f.parents or dossier(f) not in SANS_ECRAN:
        continue
    commande = entree.get("command") or " ".join(entree.get("arguments", []))
    if re.search(r"SDL", commande):
        fautes.append(f"{f.relative_to(src)}: compiled with SDL on its command line")

for faute in fautes:
    print(faute)
sys.exit(1 if fautes else 0)
