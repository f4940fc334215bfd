# Builds the VS Code extension (.vsix) from editors/vscode: a copy of the
# extension folder without its test in CARTELLA, npm ci there from the pinned
# package-lock.json (again only when the lock changes), then @vscode/vsce from
# that lock packs it into VSIX with the run-time packages (the language client)
# and none of the packaging tools. The list of the packed files is checked,
# and the extension's test runs on the unpacked .vsix with the packages it
# carries alone.
#   cmake -DNODE=... -DNPM=... -DSORGENTE=editors/vscode -DCARTELLA=... -DVSIX=... -P estensione_vsix.cmake
foreach(v NODE NPM SORGENTE CARTELLA VSIX)
  if(NOT DEFINED ${v})
    message(FATAL_ERROR "estensione_vsix.cmake: -D${v}=... is missing")
  endif()
endforeach()

# The extension's own files, afresh; node_modules stays while the lock holds
# (the lock's hash is kept beside the folder, out of what vsce packs).
set(timbro ${CARTELLA}-installato)
file(MAKE_DIRECTORY ${CARTELLA})
file(GLOB vecchi LIST_DIRECTORIES true ${CARTELLA}/*)
foreach(f ${vecchi})
  if(NOT f MATCHES "/node_modules$")
    file(REMOVE_RECURSE ${f})
  endif()
endforeach()
file(COPY ${SORGENTE}/ DESTINATION ${CARTELLA}
     PATTERN test EXCLUDE
     PATTERN node_modules EXCLUDE
     PATTERN "*.vsix" EXCLUDE)

file(SHA256 ${CARTELLA}/package-lock.json impronta)
set(installato "")
if(EXISTS ${timbro})
  file(READ ${timbro} installato)
endif()
if(NOT installato STREQUAL impronta OR NOT EXISTS ${CARTELLA}/node_modules/@vscode/vsce)
  file(REMOVE ${timbro})
  message(STATUS "VS Code extension: npm ci in ${CARTELLA}")
  execute_process(COMMAND ${NPM} ci --no-audit --no-fund --loglevel=error
                  WORKING_DIRECTORY ${CARTELLA} RESULT_VARIABLE esito ERROR_VARIABLE errori OUTPUT_QUIET
                  TIMEOUT 900)
  if(NOT esito EQUAL 0)
    message(FATAL_ERROR "npm ci failed (${esito}) for the VS Code extension: the .vsix needs the packages "
                        "pinned in editors/vscode/package-lock.json from the npm registry.\n${errori}\n"
                        "Configure with -DSCENARIO_PACKAGE_VSIX=OFF to build the other packages alone.")
  endif()
  file(WRITE ${timbro} ${impronta})
endif()

# The extension carries no licence file and no repository: the builder is
# not published on a marketplace.
file(REMOVE ${VSIX})
get_filename_component(cartella_vsix ${VSIX} DIRECTORY)
file(MAKE_DIRECTORY ${cartella_vsix})
execute_process(COMMAND ${NODE} ${CARTELLA}/node_modules/@vscode/vsce/vsce package
                        --out ${VSIX} --skip-license --allow-missing-repository
                WORKING_DIRECTORY ${CARTELLA} RESULT_VARIABLE esito OUTPUT_VARIABLE uscita ERROR_VARIABLE errori)
if(NOT esito EQUAL 0 OR NOT EXISTS ${VSIX})
  message(FATAL_ERROR "vsce could not pack the VS Code extension (${esito}):\n${uscita}${errori}")
endif()

# What the .vsix holds: the entry, the grammars, the language client with the
# packages it loads, and nothing of the packaging tools or the test.
execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${VSIX} RESULT_VARIABLE esito OUTPUT_VARIABLE elenco)
if(NOT esito EQUAL 0)
  message(FATAL_ERROR "cannot list ${VSIX}")
endif()
foreach(f extension/package.json extension/extension.js extension/language-configuration.json
          extension/syntaxes/scenario-linea.tmLanguage.json extension/syntaxes/scenario-treno.tmLanguage.json
          extension/node_modules/vscode-languageclient/node.js
          extension/node_modules/vscode-languageserver-protocol/package.json
          extension/node_modules/vscode-jsonrpc/package.json)
  string(FIND "${elenco}" "${f}\n" dove)
  if(dove EQUAL -1)
    message(FATAL_ERROR "${VSIX} lacks ${f}")
  endif()
endforeach()
if(elenco MATCHES "extension/(test/|node_modules/@vscode/vsce)")
  message(FATAL_ERROR "${VSIX} holds the extension's test or its packaging tools")
endif()

# The entry loads and starts its client from the unpacked .vsix, with no
# package but those it carries.
set(aperto ${CARTELLA}-aperto)
file(REMOVE_RECURSE ${aperto})
file(MAKE_DIRECTORY ${aperto})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${VSIX} WORKING_DIRECTORY ${aperto} RESULT_VARIABLE esito)
if(NOT esito EQUAL 0)
  message(FATAL_ERROR "cannot unpack ${VSIX}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=NODE_PATH
                        ${NODE} ${SORGENTE}/test/estensione.test.js --estensione ${aperto}/extension
                RESULT_VARIABLE esito OUTPUT_VARIABLE uscita ERROR_VARIABLE errori)
if(NOT esito EQUAL 0)
  file(REMOVE ${VSIX})
get_filename_component(cartella_vsix ${VSIX} DIRECTORY)
file(MAKE_DIRECTORY ${cartella_vsix})
  message(FATAL_ERROR "the extension in ${VSIX} does not load with the packages it carries:\n${uscita}${errori}")
endif()
file(REMOVE_RECURSE ${aperto})

file(SIZE ${VSIX} dimensione)
message(STATUS "VS Code extension: ${VSIX} (${dimensione} bytes)")
