# One warning set for every target of ours; warnings fail the build in CI
# through KARBELON_WARNINGS_AS_ERRORS.
option(KARBELON_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" ON)

function(karbelon_set_warnings target)
    set(warnings -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
                 -Wnon-virtual-dtor)
    # C++ only: a target may also hold Windows resource scripts.
    target_compile_options(${target} PRIVATE "$<$<COMPILE_LANGUAGE:CXX>:${warnings}>")
    if(KARBELON_WARNINGS_AS_ERRORS)
        target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-Werror>)
    endif()
endfunction()
