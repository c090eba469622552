# Warnings for our own code only; third-party headers come in as system includes.
add_library(vestorin_warnings INTERFACE)
target_compile_options(vestorin_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
    -Woverloaded-virtual -Werror)
