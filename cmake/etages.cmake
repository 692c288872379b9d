# etages.cmake: verifier_sans_sdl(TARGET...) stops the configuration when SDL is on the include
# or link line of a target or of any library it links: the levels' records, the rules and the
# challenge game build and link with no screen.
function(_etages_sdl cible chemin)
  foreach(propriete INCLUDE_DIRECTORIES INTERFACE_INCLUDE_DIRECTORIES LINK_LIBRARIES
                    INTERFACE_LINK_LIBRARIES)
    get_target_property(valeurs ${cible} ${propriete})
    if(NOT valeurs)
      continue()
    endif()
    foreach(v IN LISTS valeurs)
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" v "${v}")
      if(v MATCHES "SDL")
        message(FATAL_ERROR "${chemin} -> ${v}: SDL on the ${propriete} of a floor below the screen")
      endif()
      if(TARGET ${v})
        _etages_sdl(${v} "${chemin} -> ${v}")
      endif()
    endforeach()
  endforeach()
endfunction()

function(verifier_sans_sdl)
  foreach(cible IN LISTS ARGN)
    _etages_sdl(${cible} ${cible})
  endforeach()
endfunction()
