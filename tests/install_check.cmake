# Installs the build into a fresh prefix and checks what lands where:
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DPREFIX=... -DAPP_ID=... -P install_check.cmake
file(REMOVE_RECURSE "${PREFIX}")
# What an earlier install left under the plain name, which this one replaces.
foreach(old share/applications/nmaker.desktop share/icons/hicolor/48x48/apps/nmaker.png
    share/icons/hicolor/scalable/apps/nmaker.svg)
  file(WRITE "${PREFIX}/${old}" "earlier")
endforeach()
file(WRITE "${PREFIX}/share/applications/other.desktop" "not ours")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "install failed:\n${out}")
endif()

# Each installed file must be the very file it came from (an icon size mixed up, a stale manual).
function(expect_copy installed source)
  if(NOT EXISTS "${PREFIX}/${installed}")
    message(FATAL_ERROR "missing: ${installed}")
  endif()
  file(SHA256 "${PREFIX}/${installed}" got)
  file(SHA256 "${source}" want)
  if(NOT got STREQUAL want)
    message(FATAL_ERROR "not a copy of ${source}: ${installed}")
  endif()
endfunction()

expect_copy(lib/nmaker/NMAKER_INDEX.htm "${SOURCE_DIR}/resources/NMAKER_INDEX.htm")
expect_copy(share/applications/${APP_ID}.desktop "${SOURCE_DIR}/resources/${APP_ID}.desktop")
expect_copy(share/icons/hicolor/scalable/apps/${APP_ID}.svg "${SOURCE_DIR}/resources/icons/nmaker.svg")
foreach(size 16 22 24 32 48 64 128 256)
  expect_copy(share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png
    "${SOURCE_DIR}/resources/icons/nmaker-${size}.png")
endforeach()
expect_copy(share/metainfo/${APP_ID}.metainfo.xml "${BUILD_DIR}/${APP_ID}.metainfo.xml")
foreach(old share/applications/nmaker.desktop share/icons/hicolor/48x48/apps/nmaker.png
    share/icons/hicolor/scalable/apps/nmaker.svg)
  if(EXISTS "${PREFIX}/${old}")
    message(FATAL_ERROR "the earlier ${old} is still there")
  endif()
endforeach()
if(NOT EXISTS "${PREFIX}/share/applications/other.desktop")
  message(FATAL_ERROR "a desktop entry of another program was removed")
endif()
file(REMOVE "${PREFIX}/share/applications/other.desktop")

# One id throughout: the entry's icon, the metadata's id, its launchable and its icon.
file(STRINGS "${PREFIX}/share/applications/${APP_ID}.desktop" icon REGEX "^Icon=")
if(NOT icon STREQUAL "Icon=${APP_ID}")
  message(FATAL_ERROR "the desktop entry names the icon ${icon}")
endif()
file(READ "${PREFIX}/share/metainfo/${APP_ID}.metainfo.xml" metainfo)
foreach(part "<id>${APP_ID}</id>" "<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>"
    "<icon type=\"stock\">${APP_ID}</icon>")
  string(FIND "${metainfo}" "${part}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the metadata lacks ${part}")
  endif()
endforeach()
# The installed tree as a software centre reads it: metadata, desktop entry and icon together.
execute_process(COMMAND appstreamcli validate-tree --pedantic --no-net "${PREFIX}"
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
string(STRIP "${out}" out)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^✔ Validation was successful.$")
  message(FATAL_ERROR "appstreamcli validate-tree (exit ${rc}):\n${out}")
endif()
# The build's own program folder carries the manual too.
file(SHA256 "${BUILD_DIR}/NMAKER_INDEX.htm" got)
file(SHA256 "${SOURCE_DIR}/resources/NMAKER_INDEX.htm" want)
if(NOT got STREQUAL want)
  message(FATAL_ERROR "the build folder's manual is missing or stale")
endif()

foreach(program nmaker nmaker-cli)
  if(NOT EXISTS "${PREFIX}/lib/nmaker/${program}" OR IS_SYMLINK "${PREFIX}/lib/nmaker/${program}")
    message(FATAL_ERROR "${program} is not in lib/nmaker")
  endif()
  execute_process(COMMAND test -x "${PREFIX}/lib/nmaker/${program}" RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${program} is not executable")
  endif()
  # A relative link, so the installed tree can be moved (and DESTDIR staging works).
  if(NOT IS_SYMLINK "${PREFIX}/bin/${program}")
    message(FATAL_ERROR "bin/${program} is not a link")
  endif()
  file(READ_SYMLINK "${PREFIX}/bin/${program}" target)
  if(NOT target STREQUAL "../lib/nmaker/${program}")
    message(FATAL_ERROR "bin/${program} points to ${target}")
  endif()
endforeach()
# The command line alone answers without Qt's Gui.
execute_process(COMMAND "${PREFIX}/bin/nmaker-cli" --version RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^NMaker ")
  message(FATAL_ERROR "nmaker-cli --version: ${rc} ${out}")
endif()

file(REMOVE_RECURSE "${PREFIX}")
