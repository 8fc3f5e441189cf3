# site.cmake: lays out the static site in SITE from the built program (BUILD), the page's files (WEB) and the
# shared resources (RES), then writes its service worker with the list of every file and a cache name made from
# their contents. Run as cmake -D...=... -P site.cmake.
file(REMOVE_RECURSE ${SITE})
file(MAKE_DIRECTORY ${SITE}/sounds)
file(COPY ${WEB}/index.html ${WEB}/manifest.webmanifest ${BUILD}/dovra.js ${BUILD}/dovra.wasm ${BUILD}/score.woff
          ${BUILD}/score-font-license.txt ${RES}/web/icon-192.png ${RES}/web/icon-512.png DESTINATION ${SITE})
configure_file(${RES}/dovra.ico ${SITE}/favicon.ico COPYONLY)
configure_file(${LICENSE} ${SITE}/LICENSE.txt COPYONLY)
file(GLOB sounds RELATIVE ${RES}/sounds ${RES}/sounds/*.wav)
foreach(sound ${sounds})
  file(COPY ${RES}/sounds/${sound} DESTINATION ${SITE}/sounds)
endforeach()

file(GLOB_RECURSE files RELATIVE ${SITE} ${SITE}/*)
list(SORT files)
set(listing "  './',")
set(contents "")
foreach(f ${files})
  file(SHA256 ${SITE}/${f} sum)
  string(APPEND contents "${sum} ${f}\n")
  string(APPEND listing "\n  '${f}',")
endforeach()
string(SHA256 version "${contents}")
string(SUBSTRING ${version} 0 16 version)
set(SITE_VERSION "${VERSION}-${version}")
set(SITE_FILES "${listing}")
configure_file(${WEB}/sw.js.in ${SITE}/sw.js @ONLY)
