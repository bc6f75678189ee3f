# Installs the build into DEST_DIR (as DESTDIR, prefix /usr) and checks what lands where.
file(REMOVE_RECURSE ${DEST_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${DEST_DIR}
                        ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(expected
  usr/bin/pelmora
  usr/bin/pelmora-cli
  usr/lib/pelmora/modules/pelmora-network.so
  usr/share/pelmora/porady.dat
  usr/share/pelmora/help/pelmora.html
  usr/share/applications/pelmora.desktop
  usr/share/metainfo/pelmora.metainfo.xml
  usr/share/man/man1/pelmora.1.gz
  usr/share/man/man1/pelmora-cli.1.gz
  usr/share/doc/pelmora/copyright
  usr/share/doc/pelmora/changelog.gz
  usr/share/icons/hicolor/scalable/apps/pelmora.svg)
foreach(size 16 32 48 64 128 256)
  list(APPEND expected usr/share/icons/hicolor/${size}x${size}/apps/pelmora.png)
endforeach()

file(GLOB_RECURSE installed RELATIVE ${DEST_DIR} ${DEST_DIR}/*)
list(SORT installed)
list(SORT expected)
if(NOT installed STREQUAL expected)
  string(REPLACE ";" "\n  " installed "${installed}")
  message(FATAL_ERROR "Installed files differ from the expected layout:\n  ${installed}")
endif()

# The installed help page is the one in the sources, not a stale copy.
file(SHA256 ${SOURCE_DIR}/assets/help/pelmora.html source_help)
file(SHA256 ${DEST_DIR}/usr/share/pelmora/help/pelmora.html installed_help)
if(NOT source_help STREQUAL installed_help)
  message(FATAL_ERROR "The installed help page differs from assets/help/pelmora.html")
endif()

# The installed command-line program starts on its own (no build-folder library paths).
execute_process(COMMAND ${DEST_DIR}/usr/bin/pelmora-cli RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
if(NOT result EQUAL 2)
  message(FATAL_ERROR "The installed pelmora-cli without arguments gave ${result}, not the usage error 2")
endif()
file(REMOVE_RECURSE ${DEST_DIR})
