# Every target of the project is built warnings-clean with these flags.
add_library(vk_warnings INTERFACE)
target_compile_options(vk_warnings INTERFACE -Wall -Wextra -Wpedantic)
