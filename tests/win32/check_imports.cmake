cmake_minimum_required(VERSION 3.25)
# Fails unless EXECUTABLE is a 64-bit Windows GUI program that imports only
# DLLs present on every Windows (no libstdc++, libgcc or winpthread DLLs).
#   cmake -DOBJDUMP=... -DEXECUTABLE=... -P check_imports.cmake
set(system_dlls advapi32.dll comctl32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll
                shell32.dll user32.dll version.dll)

execute_process(COMMAND ${OBJDUMP} -p ${EXECUTABLE}
                OUTPUT_VARIABLE headers RESULT_VARIABLE status TIMEOUT 60)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} -p ${EXECUTABLE} failed: ${status}")
endif()
if(NOT headers MATCHES "file format pei-x86-64")
    message(FATAL_ERROR "${EXECUTABLE} is not a 64-bit Windows executable")
endif()
if(NOT headers MATCHES "Subsystem[ \t]+00000002")
    message(FATAL_ERROR "${EXECUTABLE} is not a Windows GUI program")
endif()

string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${headers}")
if(NOT imports)
    message(FATAL_ERROR "no imports found in ${EXECUTABLE}")
endif()
foreach(line IN LISTS imports)
    string(REPLACE "DLL Name: " "" dll "${line}")
    string(STRIP "${dll}" dll)
    string(TOLOWER "${dll}" dll)
    if(NOT dll IN_LIST system_dlls)
        message(FATAL_ERROR "${EXECUTABLE} imports ${dll}, which Windows does not ship")
    endif()
    message(STATUS "imports ${dll}")
endforeach()
