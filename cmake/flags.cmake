# Common flags of every target of the project.
add_library(kurvatur_flags INTERFACE)
target_compile_features(kurvatur_flags INTERFACE cxx_std_20)
target_compile_options(kurvatur_flags INTERFACE -Wall -Wextra -Wpedantic)
target_compile_definitions(kurvatur_flags INTERFACE QT_NO_CAST_FROM_ASCII QT_NO_CONTEXTLESS_CONNECT)
target_include_directories(kurvatur_flags INTERFACE ${PROJECT_SOURCE_DIR}/src)

if(KURVATUR_SANITIZE)
  target_compile_options(kurvatur_flags INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                  -fno-sanitize-recover=undefined)
  target_link_options(kurvatur_flags INTERFACE -fsanitize=address,undefined)
endif()
