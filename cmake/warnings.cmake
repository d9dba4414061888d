# Every target of the project builds with these warnings; they must stay clean.
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
