# Installs the build tree CARTELLA_BUILD into DESTINAZIONE, as CPack does for
# the Linux packages, and checks what lands there: the two programs and no
# other, the man page with the project's version, the README, doc/ and the
# editor files without their test.
file(REMOVE_RECURSE ${DESTINAZIONE})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${CARTELLA_BUILD} --prefix ${DESTINAZIONE}
                RESULT_VARIABLE esito OUTPUT_QUIET)
if(NOT esito EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${esito}")
endif()

file(GLOB_RECURSE installati RELATIVE ${DESTINAZIONE} ${DESTINAZIONE}/*)
# Every program lands in bin/; no test program, nor a test build of the
# builder, anywhere.
set(programmi "")
foreach(f ${installati})
  if(f MATCHES "^bin/")
    list(APPEND programmi ${f})
  endif()
  if(f MATCHES "(^|/)(test_|sonda_|scenario_builder_errore)")
    message(FATAL_ERROR "${f} is installed: a test program is not part of a package")
  endif()
endforeach()
list(SORT programmi)
if(NOT programmi STREQUAL "bin/scenario;bin/scenario_builder")
  message(FATAL_ERROR "installed programs: ${programmi}; expected bin/scenario and bin/scenario_builder alone")
endif()

foreach(f share/man/man1/scenario.1 share/doc/scenario-builder/README.md
          share/doc/scenario-builder/doc/scenario_tool.md
          share/scenario-builder/editors/vscode/package.json
          share/scenario-builder/editors/vscode/syntaxes/scenario-linea.tmLanguage.json
          share/scenario-builder/editors/vscode/syntaxes/scenario-treno.tmLanguage.json
          share/scenario-builder/editors/notepad++/scenario.xml)
  if(NOT EXISTS ${DESTINAZIONE}/${f})
    message(FATAL_ERROR "${f} is not installed")
  endif()
endforeach()
foreach(f ${installati})
  if(f MATCHES "/test/|node_modules")
    message(FATAL_ERROR "${f} is installed: the editors' test is not part of a package")
  endif()
endforeach()

file(STRINGS ${DESTINAZIONE}/share/man/man1/scenario.1 titolo REGEX "^\\.TH ")
if(NOT titolo MATCHES "\"scenario ${VERSIONE}\"")
  message(FATAL_ERROR "the man page's title line does not carry version ${VERSIONE}: ${titolo}")
endif()
file(REMOVE_RECURSE ${DESTINAZIONE})
