# One warning set for every target of ours; warnings fail the build in CI
# through KARBELON_WARNINGS_AS_ERRORS.
option(KARBELON_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" ON)

function(karbelon_set_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                             -Wsign-conversion -Wnon-virtual-dtor)
    if(KARBELON_WARNINGS_AS_ERRORS)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
