# Makes the page's single-file form: the style sheet, the page's script and
# the worker with its engine (the WebAssembly inside it already) written
# into the HTML, so that it works opened from disk as from any server.
# cmake -DWEB_DIR=<folder of the page's files> -DOUTPUT=<file> -P single_file.cmake
file(READ ${WEB_DIR}/index.html page)
file(READ ${WEB_DIR}/page.css style)
file(READ ${WEB_DIR}/page.js script)
file(READ ${WEB_DIR}/cellglyph-engine.js engine)
file(READ ${WEB_DIR}/engine_worker.js worker)
foreach(part engine worker script)
  string(FIND "${${part}}" "</script" closing)
  if(NOT closing EQUAL -1)
    message(FATAL_ERROR "${part} holds </script and cannot be written into the page")
  endif()
endforeach()
string(REPLACE "<link rel=\"stylesheet\" href=\"page.css\">" "<style>\n${style}</style>"
       page "${page}")
string(REPLACE "<script type=\"module\" src=\"page.js\"></script>"
       "<script type=\"text/plain\" id=\"engine-worker\">\n${engine}\n${worker}</script>\n<script type=\"module\">\n${script}</script>"
       page "${page}")
file(WRITE ${OUTPUT} "${page}")
