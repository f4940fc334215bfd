# The Windows programs carry an application manifest (long paths, run as the
# user who starts them) and a version resource with the project's version, so
# that Explorer shows what a program is and which version it is.
if(WIN32)
  enable_language(RC)
endif()

set(SCENARIO_PRODOTTO "Scenario builder")

# Gives the program `nome` its manifest and version resource; `descrizione`
# is the description Explorer shows. Does nothing outside Windows.
function(scenario_risorse_windows nome descrizione)
  if(NOT WIN32)
    return()
  endif()
  set(SCENARIO_NOME ${nome})
  set(SCENARIO_DESCRIZIONE ${descrizione})
  set(cartella ${CMAKE_BINARY_DIR}/risorse/${nome})
  set(SCENARIO_MANIFESTO ${cartella}/${nome}.manifest)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/programma.manifest.in ${SCENARIO_MANIFESTO} @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/versione.rc.in ${cartella}/versione.rc @ONLY)
  target_sources(${nome} PRIVATE ${cartella}/versione.rc)
  set_source_files_properties(${cartella}/versione.rc PROPERTIES OBJECT_DEPENDS ${SCENARIO_MANIFESTO})
endfunction()
