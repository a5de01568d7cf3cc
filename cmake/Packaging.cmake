# Install rules and CPack settings.
#
# The program finds Data/ and SpeechRecognition/ beside its own executable, so the
# install keeps that tree together as one program directory: lib/tavizo on Linux (with
# bin/ links to it, a desktop entry and themed icons), the root of the zip on Windows.
# Characters are installed as packages made by tavizo-tool pack at build time; the
# build tree's bin/Data keeps the folders that scripts/run uses.

include(GNUInstallDirs)

# Installing (and cpack) takes what is built and builds nothing itself: the packaging
# check builds only the programs it ships, not every test.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

if(WIN32)
  set(TAVIZO_PROGRAM_DIR .)
else()
  set(TAVIZO_PROGRAM_DIR ${CMAKE_INSTALL_LIBDIR}/tavizo)
endif()

install(TARGETS tavizo tavizo-tool RUNTIME DESTINATION ${TAVIZO_PROGRAM_DIR})

# Data/<name>/ -> <build>/packaged-data/Data/<name>.qnd, remade when a file changes.
# A cross build packs with its emulator (Wine), which reaches POSIX paths through Z:.
set(TAVIZO_PACKED_DATA ${CMAKE_BINARY_DIR}/packaged-data/Data)
set(tavizo_pack_tool $<TARGET_FILE:tavizo-tool>)
set(tavizo_pack_drive "")
if(CMAKE_CROSSCOMPILING)
  set(tavizo_pack_tool ${CMAKE_CROSSCOMPILING_EMULATOR} ${tavizo_pack_tool})
  if(WIN32 AND CMAKE_HOST_UNIX)
    set(tavizo_pack_drive "Z:")
  endif()
endif()
file(GLOB tavizo_characters LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/Data/*)
set(tavizo_packages "")
if(NOT CMAKE_CROSSCOMPILING OR CMAKE_CROSSCOMPILING_EMULATOR)
  foreach(folder IN LISTS tavizo_characters)
    if(NOT IS_DIRECTORY ${folder})
      continue()
    endif()
    get_filename_component(name ${folder} NAME)
    file(GLOB_RECURSE files CONFIGURE_DEPENDS ${folder}/*)
    set(package ${TAVIZO_PACKED_DATA}/${name}.qnd)
    add_custom_command(OUTPUT ${package}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${TAVIZO_PACKED_DATA}
      COMMAND ${tavizo_pack_tool} pack ${tavizo_pack_drive}${folder} ${tavizo_pack_drive}${package}
      DEPENDS tavizo-tool ${files}
      COMMENT "Packing character ${name}"
      VERBATIM)
    list(APPEND tavizo_packages ${package})
  endforeach()
  # Natively part of the default build (a test compares the packages with the folders);
  # a cross build packs only when asked, once its caller has set Wine up.
  set(tavizo_packed_in_all ALL)
  if(CMAKE_CROSSCOMPILING)
    set(tavizo_packed_in_all "")
  endif()
  add_custom_target(tavizo_packed_data ${tavizo_packed_in_all} DEPENDS ${tavizo_packages})
  install(FILES ${tavizo_packages} DESTINATION ${TAVIZO_PROGRAM_DIR}/Data)
  # Voice-command files stay plain files in the character's folder beside its package:
  # the recogniser opens the grammar pair by path, and the template and settings are
  # what a user reads and copies to change a command. The folder holds no definition
  # files, so the character itself still loads from its package.
  foreach(folder IN LISTS tavizo_characters)
    if(NOT IS_DIRECTORY ${folder})
      continue()
    endif()
    get_filename_component(name ${folder} NAME)
    file(GLOB_RECURSE voice_files RELATIVE ${folder} CONFIGURE_DEPENDS
         ${folder}/*.ctpl ${folder}/*.cnf ${folder}/*.dfa ${folder}/*.dict)
    foreach(file IN LISTS voice_files)
      get_filename_component(subfolder ${file} DIRECTORY)
      install(FILES ${folder}/${file} DESTINATION ${TAVIZO_PROGRAM_DIR}/Data/${name}/${subfolder})
    endforeach()
  endforeach()
else()
  # Without a way to run the tool the characters go as folders (the program reads both).
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/Data/ DESTINATION ${TAVIZO_PROGRAM_DIR}/Data)
endif()

# The offline recogniser and its configuration, where the program loads them.
if(TARGET pocketsphinxrecognizer)
  install(TARGETS pocketsphinxrecognizer LIBRARY DESTINATION ${TAVIZO_PROGRAM_DIR}/SpeechRecognition)
  install(FILES ${CMAKE_SOURCE_DIR}/plugins/pocketsphinx/main.jconf
          DESTINATION ${TAVIZO_PROGRAM_DIR}/SpeechRecognition/dictation)
endif()

if(NOT WIN32)
  # Tells the program that its directory belongs to the system: what it writes goes to
  # the user's data folder even when the directory happens to be writable (root, or a
  # prefix the user owns).
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/INSTALLED DESTINATION ${TAVIZO_PROGRAM_DIR})

  # bin/ holds relative links: the program resolves its own path through them.
  foreach(program tavizo tavizo-tool)
    install(CODE "
      set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\")
      file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
      file(REMOVE \"\${link}\")
      file(CREATE_LINK \"../${TAVIZO_PROGRAM_DIR}/${program}\" \"\${link}\" SYMBOLIC)
      message(STATUS \"Installing: \${link} -> ../${TAVIZO_PROGRAM_DIR}/${program}\")")
  endforeach()

  install(FILES ${CMAKE_SOURCE_DIR}/packaging/tavizo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  foreach(size 48 64 128 256)
    install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/${size}/tavizo.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  install(FILES ${CMAKE_SOURCE_DIR}/art/icon.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
          RENAME tavizo.svg)
  install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tavizo)
endif()
# Tavi offers to open the README from the program's own folder.
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${TAVIZO_PROGRAM_DIR})

# cpack: a Debian package on Linux, a zip that runs from wherever it is unpacked on
# Windows.
set(CPACK_PACKAGE_NAME tavizo)
set(CPACK_PACKAGE_VENDOR Ostrel)
set(CPACK_PACKAGE_CONTACT "Tavizo developers <tavizo@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop mascot host: characters that live on the desktop")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME windows-x64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
  # Text (balloons, message boxes) is drawn with faces fontconfig finds: a sans-serif
  # face for Latin text, and a Japanese one for the program's own messages and for
  # characters that talk in Japanese, which a system without one shows as empty boxes.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
  # Documents and links that characters open go through xdg-open.
  set(tavizo_recommends "fonts-ipaexfont-gothic | fonts-noto-cjk, xdg-utils")
  if(TARGET pocketsphinxrecognizer)
    # The recogniser's English model; without it the program runs without voice commands.
    string(APPEND tavizo_recommends ", pocketsphinx-en-us")
  endif()
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "${tavizo_recommends}")
  find_program(TAVIZO_DPKG_SHLIBDEPS dpkg-shlibdeps)
  if(TAVIZO_DPKG_SHLIBDEPS)
    # Dependencies from the libraries the binaries link.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  else()
    message(STATUS "dpkg-shlibdeps not found: the Debian package will declare no dependencies")
  endif()
endif()
include(CPack)
