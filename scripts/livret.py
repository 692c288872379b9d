#!/usr/bin/python3
"""livret.py IMAGES LIVRET.pdf: lays out the printable booklet, in A4, from the pictures that
`capture_niveau --livret IMAGES` draws with the program's own drawing code: a cover, a page of
rules, the challenges six to a page, then the solutions.

The text is vector text in Liberation Sans, the pictures are placed as they are drawn, at 100
pixels a cell; their measures are those of outils/capture_niveau.cpp."""

import math
import os
import struct
import sys

import cairo

MM = 72 / 25.4
PAGE_L, PAGE_H = 210 * MM, 297 * MM
MARGE = 14 * MM
POLICE = "Liberation Sans"
PX_CASE = 100  # pixels a cell in every picture

# A level's picture, in cells: the board from x and y 0.25 to 6.25 (the ground under it), the
# tray from x 6.75 to 11.75; 6.5 cells high, 6.5 wide for a solution, 12 for a challenge.
VIGNETTE_H, VIGNETTE_L = 6.5, {"défi": 12.0, "solution": 6.5}

NOIR = (0.1, 0.1, 0.1)
GRIS = (0.45, 0.45, 0.45)
VERT = (0.08, 0.36, 0.2)
ROUGE = (0.8, 0.1, 0.1)
BLEU = (0.0, 0.0, 1.0)

TITRE = "Valdrune"


def lire_bmp(chemin):
    """An uncompressed 24- or 32-bit BMP, as SDL_SaveBMP writes it, as a cairo surface."""
    with open(chemin, "rb") as f:
        d = f.read()
    (debut,) = struct.unpack_from("<I", d, 10)
    l, h, _, bits, compression = struct.unpack_from("<iiHHI", d, 18)
    if bits not in (24, 32) or compression != 0:
        sys.exit("livret.py: %s: not an uncompressed 24- or 32-bit BMP" % chemin)
    octets, haut = bits // 8, abs(h)
    pas = (l * octets + 3) & ~3
    s = cairo.ImageSurface(cairo.FORMAT_RGB24, l, haut)
    ligne_s = s.get_stride()
    pixels = bytearray(ligne_s * haut)
    # Both hold blue, green, red in that order (cairo's 32-bit words on a little-endian
    # machine); a BMP with a positive height is stored bottom row first.
    for y in range(haut):
        o = debut + (haut - 1 - y if h > 0 else y) * pas
        rang = d[o:o + l * octets]
        for c in range(3):
            pixels[y * ligne_s + c:y * ligne_s + 4 * l:4] = rang[c::octets]
    s.get_data()[:] = pixels
    s.mark_dirty()
    return s


class Livret:
    def __init__(self, images, sortie):
        self.images = images
        self.cache = {}
        self.surface = cairo.PDFSurface(sortie, PAGE_L, PAGE_H)
        # The same bytes every time: no date of the day in the file.
        self.surface.set_metadata(cairo.PDFMetadata.TITLE, TITRE + " : les défis")
        self.surface.set_metadata(cairo.PDFMetadata.CREATE_DATE, "2026-12-07T00:00:00")
        self.ctx = cairo.Context(self.surface)
        self.page = 1
        with open(os.path.join(images, "niveaux.txt"), encoding="utf-8") as f:
            self.a_placer = {int(n): int(k) for n, k in (ligne.split() for ligne in f)}

    # -- drawing primitives ------------------------------------------------------------------

    def police(self, taille, gras=False):
        self.ctx.select_font_face(
            POLICE, cairo.FONT_SLANT_NORMAL,
            cairo.FONT_WEIGHT_BOLD if gras else cairo.FONT_WEIGHT_NORMAL)
        self.ctx.set_font_size(taille)

    def largeur(self, texte, taille, gras=False):
        self.police(taille, gras)
        return self.ctx.text_extents(texte).x_advance

    def ecrire(self, texte, x, y, taille, gras=False, couleur=NOIR, ancre="gauche"):
        """One line, its baseline at y; returns the x after it."""
        l = self.largeur(texte, taille, gras)
        x -= {"gauche": 0, "centre": l / 2, "droite": l}[ancre]
        self.ctx.set_source_rgb(*couleur)
        self.ctx.move_to(x, y)
        self.ctx.show_text(texte)
        return x + l

    def paragraphe(self, texte, x, y, largeur, taille, couleur=NOIR, interligne=1.3,
                   gras=False, centre=False):
        """Text wrapped to largeur, its first baseline at y; text between asterisks in bold
        (all of it with gras). Returns the baseline of the next line."""
        # Words as runs of (text, bold): "*plateau*," is one word in two runs.
        mots, colle = [], False
        for i, morceau in enumerate(texte.split("*")):
            g = gras or i % 2 == 1
            for j, m in enumerate(morceau.split()):
                if j == 0 and colle and mots and not morceau[0].isspace():
                    mots[-1].append((m, g))
                else:
                    mots.append([(m, g)])
            colle = bool(morceau) and not morceau[-1].isspace()
        espace = self.largeur(" ", taille)
        ligne, l = [], 0
        for mot in mots + [None]:
            lm = sum(self.largeur(t, taille, g) for t, g in mot) if mot else 0
            if mot is None or (ligne and l + espace + lm > largeur):
                cx = x + (largeur - l) / 2 if centre else x
                for m in ligne:
                    for t, g in m:
                        cx = self.ecrire(t, cx, y, taille, g, couleur)
                    cx += espace
                y += taille * interligne
                ligne, l = [], 0
            if mot is not None:
                l += (espace if ligne else 0) + lm
                ligne.append(mot)
        return y

    def puces(self, items, x, y, largeur, taille, ecart=2 * MM):
        for item in items:
            self.ecrire("•", x, y, taille, couleur=VERT)
            y = self.paragraphe(item, x + 3.5 * MM, y, largeur - 3.5 * MM, taille) + ecart
        return y

    def charger(self, nom):
        if nom not in self.cache:
            self.cache[nom] = lire_bmp(os.path.join(self.images, nom + ".bmp"))
        return self.cache[nom]

    def image(self, nom, x, y, mm_case):
        """Picture nom at (x, y), its top left, mm_case millimetres a cell; returns its size."""
        s = self.charger(nom)
        e = mm_case * MM / PX_CASE
        self.ctx.save()
        self.ctx.translate(x, y)
        self.ctx.scale(e, e)
        self.ctx.set_source_surface(s, 0, 0)
        self.ctx.get_source().set_filter(cairo.FILTER_GOOD)
        self.ctx.paint()
        self.ctx.restore()
        return s.get_width() * e, s.get_height() * e

    def taille_image(self, nom, mm_case):
        s, e = self.charger(nom), mm_case * MM / PX_CASE
        return s.get_width() * e, s.get_height() * e

    def trait(self, x0, y0, x1, y1, epaisseur, couleur):
        self.ctx.set_source_rgb(*couleur)
        self.ctx.set_line_width(epaisseur)
        self.ctx.move_to(x0, y0)
        self.ctx.line_to(x1, y1)
        self.ctx.stroke()

    def titre_de_section(self, texte, y):
        self.ecrire(texte, MARGE, y, 13, True, VERT)
        self.trait(MARGE, y + 2 * MM, PAGE_L - MARGE, y + 2 * MM, 0.6, VERT)
        return y + 7 * MM

    def finir_page(self, en_tete=None):
        if en_tete:
            self.ecrire(TITRE, MARGE, 9 * MM, 9, couleur=GRIS)
            self.ecrire(en_tete, PAGE_L - MARGE, 9 * MM, 9, True, GRIS, "droite")
            self.trait(MARGE, 10.5 * MM, PAGE_L - MARGE, 10.5 * MM, 0.4, GRIS)
        if self.page > 1:
            self.ecrire(str(self.page), PAGE_L / 2, PAGE_H - 8 * MM, 9, couleur=GRIS,
                        ancre="centre")
        self.ctx.show_page()
        self.page += 1
        self.cache = {}  # a page's pictures are in the file now

    # -- a scene of single pieces, for the cover and the rules --------------------------------

    def scene(self, pieces, x, y_sol, mm_case):
        """pieces: (picture, column, row) with row 0 on the ground at y_sol, at x + column."""
        c = mm_case * MM
        for nom, colonne, ligne in pieces:
            _, h = self.taille_image(nom, mm_case)
            self.image(nom, x + colonne * c, y_sol - ligne * c - h, mm_case)

    def sol(self, x0, x1, y):
        self.ctx.set_source_rgb(92 / 255, 64 / 255, 40 / 255)
        self.ctx.rectangle(x0, y, x1 - x0, 1.2 * MM)
        self.ctx.fill()

    # -- the pages ----------------------------------------------------------------------------

    def couverture(self, pages_defis, pages_solutions):
        self.ecrire(TITRE, PAGE_L / 2, 70 * MM, 54, True, VERT, "centre")
        self.ecrire("Le chevalier, la princesse et les escaliers", PAGE_L / 2, 86 * MM, 17,
                    ancre="centre")
        self.ecrire("%d défis à construire" % len(self.a_placer), PAGE_L / 2, 97 * MM, 14,
                    couleur=GRIS, ancre="centre")
        # The knight at the foot of the big staircase, the princess on a tower beyond it.
        c = 17
        x = (PAGE_L - 7 * c * MM) / 2
        y = 205 * MM
        self.sol(x - 8 * MM, x + 7 * c * MM + 8 * MM, y)
        self.scene([("piece0_0", 0, 0), ("piece9_1", 1, 0), ("piece5_0", 4, 0),
                    ("piece6_0", 5, 0), ("piece2_0", 6, 0), ("piece1_0", 5, 3)], x, y, c)
        bas = PAGE_H - 40 * MM
        self.ecrire("Les règles : page 2", PAGE_L / 2, bas, 12, ancre="centre")
        self.ecrire("Les défis : pages %d à %d" % pages_defis, PAGE_L / 2, bas + 7 * MM, 12,
                    ancre="centre")
        self.ecrire("Les solutions : pages %d à %d" % pages_solutions, PAGE_L / 2,
                    bas + 14 * MM, 12, ancre="centre")
        self.finir_page()

    def regles(self):
        largeur = PAGE_L - 2 * MARGE
        y = 24 * MM
        self.ecrire("Les règles", MARGE, y, 20, True, VERT)
        y = self.paragraphe(
            "Dans chaque défi, le chevalier doit rejoindre la princesse. Les pièces dessinées "
            "sur le plateau sont déjà en place et ne bougent pas. À vous de poser sur le "
            "plateau les pièces de la réserve, chacune au bon endroit et dans le bon sens, pour "
            "que tout tienne debout et que le chevalier puisse marcher jusqu'à la princesse. "
            "Chaque défi a une seule solution, et chaque pièce y sert.",
            MARGE, y + 8 * MM, largeur, 10.5)

        # The ten pieces, by kind, bottom-aligned, each kind named with its colour.
        y = self.titre_de_section("Les dix pièces", y + 2 * MM)
        sortes = [(["piece0_0"], "le chevalier", "bleu"), (["piece1_0"], "la princesse", "rose"),
                  (["piece2_0"], "le cube", "orange"),
                  (["piece3_0", "piece4_0"], "les 2 cubes à appendice", "violets"),
                  (["piece5_0", "piece6_0"], "les 2 tours", "grises"),
                  (["piece7_1", "piece8_1"], "les 2 petits escaliers", "crème"),
                  (["piece9_1"], "le grand escalier", "brun foncé")]
        c = 4.5
        pas = largeur / len(sortes)
        base = y + 3 * c * MM + 1 * MM
        for i, (noms, texte, couleur) in enumerate(sortes):
            tailles = [self.taille_image(nom, c) for nom in noms]
            ecart = 1.5 * MM
            x = MARGE + (i + 0.5) * pas - (sum(l for l, _ in tailles) + ecart * (len(noms) - 1)) / 2
            for nom, (l, h) in zip(noms, tailles):
                self.image(nom, x, base - h, c)
                x += l + ecart
            fin = self.paragraphe(texte, MARGE + i * pas + 1 * MM, base + 5 * MM, pas - 2 * MM,
                                  9, interligne=1.15, gras=True, centre=True)
            self.ecrire(couleur, MARGE + (i + 0.5) * pas, fin + 0.5 * MM, 9, couleur=GRIS,
                        ancre="centre")
        y = base + 19 * MM

        # How a challenge reads: level 1's, with what each part is.
        y = self.titre_de_section("Lire un défi", y)
        c = 5
        self.legende_niveau(1, MARGE + 0.25 * c * MM, y + 3 * MM, "défi")
        haut = y + 5 * MM
        self.image("defi01", MARGE, haut, c)
        gauche = MARGE + VIGNETTE_L["défi"] * c * MM + 6 * MM
        y = self.puces([
            "*Niveau 1* : le numéro du défi ; à côté, le nombre de pièces à placer.",
            "*Le plateau*, à gauche : 6 cases sur 6, posé sur le sol (le trait brun). Chaque "
            "pièce y tient tout entière, sur des cases libres.",
            "*La réserve*, à droite : les pièces à placer, les escaliers dessinés debout, "
            "marches à gauche.",
            "*Les solutions* sont à la fin du livret ; les pièces placées y sont entourées de "
            "rouge.",
        ], gauche, haut + 3 * MM, PAGE_L - MARGE - gauche, 9.5, 1.2 * MM)
        y = max(y + 3 * MM, haut + VIGNETTE_H * c * MM + 6 * MM)

        # Turning: the six orientations of the small staircase.
        y = self.titre_de_section("Tourner et retourner", y)
        y = self.paragraphe(
            "Une pièce à placer peut être tournée et retournée : un escalier se pose dans "
            "n'importe laquelle de ses six orientations, celles du petit escalier ci-dessous, "
            "et de même pour le grand. La bande sombre est sa base. À l'envers, un escalier "
            "fait une plate-forme.", MARGE, y + 1 * MM, largeur, 9.5)
        c = 5.5
        pas = largeur / 6
        for r in range(1, 7):
            self.image("piece7_%d" % r, MARGE + (r - 0.5) * pas - c * MM, y, c)
        y += 2 * c * MM + 8 * MM

        # The walk, with its diagram.
        y = self.titre_de_section("La marche du chevalier", y)
        c = 5.5
        y_sol = y + 5 * c * MM + 3 * MM
        self.marche(MARGE, y_sol, c, True)
        self.marche(MARGE + 6.5 * c * MM, y_sol, c, False)
        self.paragraphe("Marches à gauche : il monte de 1 à 4, à côté de la princesse.",
                        MARGE, y_sol + 6 * MM, 5.5 * c * MM, 8.5, GRIS, interligne=1.15)
        self.paragraphe("Marches à droite : l'escalier lui tourne le dos, il ne monte pas.",
                        MARGE + 6.5 * c * MM, y_sol + 6 * MM, 5.5 * c * MM, 8.5, GRIS,
                        interligne=1.15)
        gauche = MARGE + 12.5 * c * MM
        fin = self.puces([
            "Il avance d'une case à la fois, à gauche ou à droite, sur le sol ou sur une "
            "pièce. Haut de deux cases, il lui faut deux cases libres au-dessus de ses pieds.",
            "Sur du plat, il passe d'une pièce à l'autre à la même hauteur.",
            "Il ne monte ou ne descend d'une case que par un escalier, du côté des marches : "
            "de son pied à la première marche, puis de marche en marche. Nulle part ailleurs : "
            "ni d'une pièce à une autre, ni d'un escalier à un autre.",
            "Pour monter ou descendre, il lui faut la place de son corps à la plus haute des "
            "deux hauteurs, au-dessus des deux cases.",
            "Il arrive quand il est juste à côté de la princesse, à sa hauteur.",
        ], gauche, y + 1 * MM, PAGE_L - MARGE - gauche, 9.5, 1.2 * MM)
        y = max(fin, y_sol + 20 * MM)

        y = self.titre_de_section("Tenir debout", y)
        self.puces([
            "Une pièce ne tient que par le dessous : sur le sol ou sur une autre pièce. Rien ne "
            "tient par le côté, rien ne colle, et rien ne se pose sur le chevalier ni sur la "
            "princesse.",
            "Une pièce dont le poids tombe juste au bord de son appui bascule.",
            "Tout doit tenir aussi sous le poids du chevalier, à chacun de ses pas.",
        ], MARGE, y + 1 * MM, largeur, 9.5, 1.2 * MM)
        self.finir_page("Les règles")

    def marche(self, x, y_sol, c, monte):
        """The big staircase beside a tower that bears the princess, the knight at its foot:
        facing left, his four footholds numbered; facing right, a cross where he cannot go."""
        k = c * MM
        self.sol(x - 1 * MM, x + 5 * k + 1 * MM, y_sol)
        self.scene([("piece9_%d" % (1 if monte else 2), 1, 0), ("piece5_0", 4, 0),
                    ("piece1_0", 4, 3), ("piece0_0", 0, 0)], x, y_sol, c)
        if not monte:
            self.ctx.set_source_rgb(*ROUGE)
            self.ctx.set_line_width(2.2)
            cx, cy, r = x + 1.5 * k, y_sol - 1.5 * k, 0.4 * k
            for s in (1, -1):
                self.ctx.move_to(cx - r, cy - s * r)
                self.ctx.line_to(cx + r, cy + s * r)
            self.ctx.stroke()
            return
        # His body, dashed, at each later foothold; his footholds numbered in his body.
        self.ctx.set_source_rgb(*BLEU)
        self.ctx.set_line_width(0.9)
        self.ctx.set_dash([2.0, 1.5])
        for i in range(1, 4):
            self.ctx.rectangle(x + i * k + 0.5, y_sol - (i + 2) * k + 0.5, k - 1, 2 * k - 1)
            self.ctx.stroke()
        self.ctx.set_dash([])
        for i in range(4):
            cx, cy = x + (i + 0.5) * k, y_sol - (i + 1) * k
            self.ctx.set_source_rgb(1, 1, 1)
            self.ctx.new_path()
            self.ctx.arc(cx, cy, 1.9 * MM, 0, 2 * math.pi)
            self.ctx.fill_preserve()
            self.ctx.set_source_rgb(*BLEU)
            self.ctx.set_line_width(0.8)
            self.ctx.stroke()
            self.ecrire(str(i + 1), cx, cy + 1.1 * MM, 8.5, True, BLEU, "centre")

    def legende_niveau(self, n, x, y, quoi):
        if quoi == "solution":
            self.ecrire("Solution du niveau %d" % n, x, y, 10.5, True)
            return
        k = self.a_placer[n]
        fin = self.ecrire("Niveau %d" % n, x, y, 13, True)
        self.ecrire("%d pièce%s à placer" % (k, "s" if k > 1 else ""), fin + 3 * MM, y, 10.5,
                    couleur=GRIS)

    def planches(self, quoi, par_ligne, lignes, premier):
        """One page of levels from premier, par_ligne across and lignes down, each picture as
        large as its column allows, each caption and picture centred in its share of the page."""
        l_col = (PAGE_L - 2 * MARGE) / par_ligne
        haut_page, h_bande = 16 * MM, (PAGE_H - 16 * MM - 14 * MM) / lignes
        # As wide as the column, and a clear space between two bands.
        c = min((l_col - 4 * MM) / VIGNETTE_L[quoi], (h_bande - 16 * MM) / VIGNETTE_H) / MM
        h_bloc = 8 * MM + VIGNETTE_H * c * MM
        dernier = min(premier + par_ligne * lignes - 1, len(self.a_placer))
        for n in range(premier, dernier + 1):
            i = n - premier
            x = MARGE + (i % par_ligne) * l_col + 2 * MM
            y = haut_page + (i // par_ligne) * h_bande + (h_bande - h_bloc) / 2
            self.legende_niveau(n, x + 0.25 * c * MM, y + 5 * MM, quoi)
            nom = "%s%02d" % ("defi" if quoi == "défi" else "solution", n)
            l, h = self.taille_image(nom, c)
            if abs(l - VIGNETTE_L[quoi] * c * MM) > 0.01 or abs(h - VIGNETTE_H * c * MM) > 0.01:
                sys.exit("livret.py: %s.bmp is not drawn on the measures laid out here" % nom)
            self.image(nom, x, y + 8 * MM, c)
        titre = "Défis" if quoi == "défi" else "Solutions"
        self.finir_page("%s : niveaux %d à %d" % (titre, premier, dernier))

    def tout(self):
        nb = len(self.a_placer)
        par_page_defis, par_page_solutions = 6, 12
        pages_defis = -(-nb // par_page_defis)
        pages_solutions = -(-nb // par_page_solutions)
        debut = 3
        self.couverture((debut, debut + pages_defis - 1),
                        (debut + pages_defis, debut + pages_defis + pages_solutions - 1))
        self.regles()
        for p in range(pages_defis):
            self.planches("défi", 2, 3, 1 + p * par_page_defis)
        for p in range(pages_solutions):
            self.planches("solution", 3, 4, 1 + p * par_page_solutions)
        self.surface.finish()


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: livret.py IMAGES LIVRET.pdf")
    Livret(sys.argv[1], sys.argv[2]).tout()


if __name__ == "__main__":
    main()
