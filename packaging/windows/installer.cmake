# The setup program karbelon-<version>-win64-setup.exe, made by makensis from
# karbelon.nsi whenever the program changes, so that the tests under Wine
# install what was just built; `make package` copies it beside the zip.
# Expects installer_files: the documents' lines of KARBELON_PACKAGE_FILES.
find_program(KARBELON_MAKENSIS makensis)
if(NOT KARBELON_MAKENSIS)
    message(WARNING "makensis not found (apt-get install nsis): no Windows installer, "
                    "and no tests of it")
    return()
endif()

set(KARBELON_SETUP ${PROJECT_BINARY_DIR}/packaging/karbelon-${PROJECT_VERSION}-win64-setup.exe)
set(file_list ${CMAKE_CURRENT_BINARY_DIR}/installer-files.nsh)
# The program first: the installer replaces it first, and stops there if it
# cannot.
file(GENERATE OUTPUT ${file_list} CONTENT "\
!macro KARBELON_PACKAGE_FILES action
    !insertmacro \${action} \"karbelon.exe\" \"$<TARGET_FILE:karbelon>\"
${installer_files}!macroend
")

set(script ${CMAKE_CURRENT_SOURCE_DIR}/windows/karbelon.nsi)
set(icon ${CMAKE_CURRENT_SOURCE_DIR}/icons/karbelon.ico)
add_custom_command(
    OUTPUT ${KARBELON_SETUP}
    COMMAND ${KARBELON_MAKENSIS} -V2 -WX -DVERSION=${PROJECT_VERSION} -DOUTFILE=${KARBELON_SETUP}
            -DICON=${icon} -DFILES=${file_list} ${script}
    DEPENDS karbelon ${script} ${icon} ${file_list} ${CMAKE_CURRENT_SOURCE_DIR}/windows/README-ko.txt
            ${KARBELON_MINGW_NOTICES}
    COMMENT "Making the Windows installer with makensis"
    VERBATIM)
add_custom_target(karbelon_setup ALL DEPENDS ${KARBELON_SETUP})
