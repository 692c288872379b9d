// page.js: the browser's side of page.cpp, linked with --js-library.
mergeInto(LibraryManager.library, {
  // The browser's SDL draws text with the canvas on a line as high as the font size; SDL_ttf's
  // line is its ascent rounded up, its descent rounded down and one row more (15 pixels at 13
  // points), with the baseline under the ascent: the panel's lines stay on the desktop's rows.
  // The canvas rounds a font's extents to whole pixels, so they are measured once at a size
  // where that rounding is lost.
  TTF_RenderText_Solid__deps: ['$SDL'],
  TTF_RenderText_Solid: function (police, texte, couleur) {
    texte = UTF8ToString(texte) || ' ';
    var donnees = SDL.fonts[police];
    var mesure = SDL.ttfContext;
    if (donnees.montee === undefined) {
      var GRAND = 4096;
      mesure.font = SDL.makeFontString(GRAND, donnees.name);
      var m = mesure.measureText(texte);
      donnees.montee = Math.ceil(m.fontBoundingBoxAscent * donnees.size / GRAND);
      donnees.descente = Math.floor(m.fontBoundingBoxDescent * donnees.size / GRAND);
    }
    var fonte = SDL.makeFontString(donnees.size, donnees.name);
    mesure.font = fonte;
    var largeur = Math.max(1, Math.ceil(mesure.measureText(texte).width));
    var hauteur = donnees.montee + donnees.descente + 1;
    var surface = SDL.makeSurface(largeur, hauteur, 0, false, 'texte');
    var ctx = SDL.surfaces[surface].ctx;
    ctx.save();
    ctx.fillStyle = SDL.loadColorToCSSRGB(couleur);
    ctx.font = fonte;
    ctx.textBaseline = 'alphabetic';
    ctx.fillText(texte, 0, donnees.montee);
    ctx.restore();
    return surface;
  },
  TTF_RenderText_Blended: 'TTF_RenderText_Solid',
  TTF_RenderUTF8_Blended: 'TTF_RenderText_Solid',

  // Frames drawn, and when the first was, in milliseconds from the page's navigation.
  noter_image: function () {
    Module.images = (Module.images || 0) + 1;
    if (Module.images == 1) Module.premiere_image = performance.now();
  },

  // The frames stop until the page hears an event (page.html wakes them), or a button is
  // pressed: nothing changes on the screen meanwhile.
  attendre_evenement__deps: ['$Browser'],
  attendre_evenement: function () {
    if (Module.en_attente) return;
    Module.en_attente = true;
    Browser.mainLoop.pause();
    Module.reveiller = function () {
      if (!Module.en_attente) return;
      Module.en_attente = false;
      Browser.mainLoop.resume();
    };
  },

  // The screen shown ('defi', 'carte' or 'regles', then ' fabrication' while a challenge is
  // being made), the pieces chosen for a random challenge and the lines above the board, for
  // the page's own text and buttons.
  montrer_etat: function (ecran, pieces, lignes) {
    Module.montrer(UTF8ToString(ecran), pieces, UTF8ToString(lignes).split('\n'));
  },
  signaler_erreur: function (texte) {
    Module.erreur(UTF8ToString(texte));
  },

  // The progress file lives in the browser's storage between visits.
  lire_progression__deps: ['$FS'],
  lire_progression: function (fichier) {
    var texte = localStorage.getItem('valdrune.progression');
    if (texte !== null) FS.writeFile(UTF8ToString(fichier), texte);
  },
  garder_progression__deps: ['$FS'],
  garder_progression: function (fichier) {
    var texte = FS.readFile(UTF8ToString(fichier), {encoding: 'utf8'});
    localStorage.setItem('valdrune.progression', texte);
  },
});
