# The page as one file: index.html with its style (game.css) and script
# (game.js) written into it, so that the script starts fetching the game and
# its data as soon as the page itself is here, with no round trip between.
#
# Variables: PAGE (the folder of index.html, game.css, game.js), OUTPUT.
cmake_minimum_required(VERSION 3.21)

file(READ ${PAGE}/index.html html)
file(READ ${PAGE}/game.css css)
file(READ ${PAGE}/game.js js)
foreach(part "<link rel=\"stylesheet\" href=\"game.css\">" "<script src=\"game.js\"></script>")
  string(FIND "${html}" "${part}" at)
  if(at LESS 0)
    message(FATAL_ERROR "index.html lacks ${part}")
  endif()
endforeach()
string(FIND "${js}" "</script" closing)
if(NOT closing LESS 0)
  message(FATAL_ERROR "game.js may not contain </script")
endif()
string(REPLACE "<link rel=\"stylesheet\" href=\"game.css\">" "<style>\n${css}</style>" html "${html}")
string(REPLACE "<script src=\"game.js\"></script>" "<script>\n${js}</script>" html "${html}")
file(WRITE ${OUTPUT}.new "${html}")
file(RENAME ${OUTPUT}.new ${OUTPUT})
