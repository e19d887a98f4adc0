# project_warnings(target): strict warnings, as errors, on this project's own targets only.
function(project_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
endfunction()

# Sanitizer build of the whole tree: -DPROJECT_SANITIZE=ON (AddressSanitizer + UBSan).
option(PROJECT_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(PROJECT_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# add_qt_test(name LIBS lib... [SOURCES extra.cpp...] [TIMEOUT s]): one Qt Test executable
# built from <name>.cpp, registered with ctest, run on the offscreen platform.
function(add_qt_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "LIBS;SOURCES" ${ARGN})
    add_executable(${name} ${name}.cpp ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
    project_warnings(${name})
    add_test(NAME ${name} COMMAND ${name})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8"
        TIMEOUT ${ARG_TIMEOUT})
endfunction()
