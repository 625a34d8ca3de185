# Warnings are errors for our own code, in every configuration.
add_library(player_warnings INTERFACE)
target_compile_options(player_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align -Wunused
  -Woverloaded-virtual -Wnull-dereference -Wformat=2 -Werror)
