# service.cmake: the page's service worker from its template (cmake -DPAGE=FOLDER
# -DMODELE=sw.js -P service.cmake), its cache named by a hash of the page's files: each build
# that changes them makes a new worker, which replaces the files kept by the last.
set(empreintes "")
foreach(f index.html index.js index.wasm index.data arial.ttf manifest.webmanifest
          icone-192.png icone-512.png)
  file(SHA256 ${PAGE}/${f} h)
  string(APPEND empreintes ${h})
endforeach()
string(SHA256 EMPREINTE "${empreintes}")
string(SUBSTRING ${EMPREINTE} 0 16 EMPREINTE)
configure_file(${MODELE} ${PAGE}/sw.js @ONLY)
