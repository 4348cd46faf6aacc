# Applies the project's warning set to a target.
function(zembrac_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion)
  if(ZEMBRAC_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
