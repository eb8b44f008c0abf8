# Warning and sanitizer options shared by every target. Engine targets link
# quorin_engine_options, which adds -Wconversion on top of the common set.
add_library(quorin_options INTERFACE)
target_compile_options(quorin_options INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
    # Table rows (window kinds, commands) name their leading members and let
    # the rest take their defaults.
    -Wno-missing-field-initializers)
if(QUORIN_WERROR)
    target_compile_options(quorin_options INTERFACE -Werror)
endif()
if(QUORIN_SANITIZE)
    target_compile_options(quorin_options INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(quorin_options INTERFACE -fsanitize=address,undefined)
endif()
target_include_directories(quorin_options INTERFACE ${PROJECT_SOURCE_DIR}/src)

add_library(quorin_engine_options INTERFACE)
target_link_libraries(quorin_engine_options INTERFACE quorin_options)
target_compile_options(quorin_engine_options INTERFACE -Wconversion)
