# Install rules (cmake --install; scripts/package.sh builds the Debian package
# and the Windows zips from them).
#
# POSIX: the programs find the collector, QMRKW32H.INI and the fallback
# DMI.DAT beside themselves, so they stay together in a private directory,
# lib/syslens, as in the build tree; bin/ gets relative links into it (the
# programs resolve their own path through the link). Man pages, the bash
# completion, the JSON Schema and the docs go where Debian keeps them.
# Windows: one flat folder, as the suite installs its programs.
include(GNUInstallDirs)

# The programs that are delivered (syslensc: the Windows console command line).
set(_programs)
foreach(_target syslens syslensc probex TOVARIN)
  if(TARGET ${_target})
    list(APPEND _programs ${_target})
  endif()
endforeach()
# The JSON Schema of the command line's output.
file(GLOB _schemas CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/*.schema.json)

if(SYSLENS_WIN32)
  install(TARGETS ${_programs} RUNTIME DESTINATION .)
  install(FILES ${SYSLENS_OUT_DIR}/DMI.DAT ${SYSLENS_OUT_DIR}/QMRKW32H.INI ${_schemas}
                ${CMAKE_SOURCE_DIR}/packaging/windows/README.txt
          DESTINATION .)
  return()
endif()

set(SYSLENS_INSTALL_APPDIR lib/syslens CACHE STRING
    "Private directory of the programs and their data, relative to the prefix")
install(TARGETS ${_programs} RUNTIME DESTINATION ${SYSLENS_INSTALL_APPDIR})
install(FILES ${SYSLENS_OUT_DIR}/DMI.DAT ${SYSLENS_OUT_DIR}/QMRKW32H.INI
        DESTINATION ${SYSLENS_INSTALL_APPDIR})
file(RELATIVE_PATH _to_app /p/${CMAKE_INSTALL_BINDIR} /p/${SYSLENS_INSTALL_APPDIR})
foreach(_program ${_programs})
  # The prefix of the install step, not of the configure step: cmake
  # --install --prefix may change it.
  install(CODE "
    set(_link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${_program}\")
    message(STATUS \"Installing: \${_link} -> ${_to_app}/${_program}\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(CREATE_LINK \"${_to_app}/${_program}\" \"\${_link}\" SYMBOLIC)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${_link}\")")
endforeach()

if(_schemas)
  install(FILES ${_schemas} DESTINATION ${CMAKE_INSTALL_DATADIR}/syslens)
endif()

# Man pages: hand-written roff in docs/man, the version filled in.
foreach(_page syslens.1 probex.1)
  configure_file(${CMAKE_SOURCE_DIR}/docs/man/${_page}.in ${CMAKE_BINARY_DIR}/man/${_page} @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/man/${_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/data/completion/syslens.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME syslens)
file(GLOB _docs ${CMAKE_SOURCE_DIR}/docs/*.md)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${_docs} DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The installed and the packaged programs run from an unrelated directory;
# the package is made from release builds only, not the sanitizer builds.
if(SYSLENS_TESTS AND SYSLENS_STATIC_RUNTIME)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  add_test(NAME install.e2e
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/install/test_install.py
            --build ${CMAKE_BINARY_DIR} --source ${CMAKE_SOURCE_DIR} --version ${PROJECT_VERSION})
  set_tests_properties(install.e2e PROPERTIES LABELS slow TIMEOUT 600 SKIP_RETURN_CODE 77)
endif()
