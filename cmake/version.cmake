# Every form of the version, derived here once from project()'s numbers (1.0.3), so that
# the version resource, the manifest, the installer and the tests cannot disagree:
#   KESTREVANE_VERSION_TEXT         1.00.0003  what the version resource shows
#   KESTREVANE_FILE_VERSION_COMMAS  1,0,0,3    the resource's FILEVERSION
#   KESTREVANE_FILE_VERSION_DOTTED  1.0.0.3    the manifest's and the installer's
# PROJECT_VERSION itself (1.0.3) names the packages.
# C++ gets them from the interface target kestrevane_version: KESTREVANE_VERSION_MAJOR,
# _MINOR and _PATCH (unsigned literals) and KESTREVANE_VERSION_TEXT (a string literal).

function(kestrevane_zero_pad out value width)
  set(text "${value}")
  string(LENGTH "${text}" length)
  while(length LESS width)
    string(PREPEND text "0")
    string(LENGTH "${text}" length)
  endwhile()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

kestrevane_zero_pad(_kestrevane_minor "${PROJECT_VERSION_MINOR}" 2)
kestrevane_zero_pad(_kestrevane_patch "${PROJECT_VERSION_PATCH}" 4)
set(KESTREVANE_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${_kestrevane_minor}.${_kestrevane_patch}")
unset(_kestrevane_minor)
unset(_kestrevane_patch)
# The file version keeps the third place free: major, minor, 0, patch.
set(KESTREVANE_FILE_VERSION_COMMAS "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},0,${PROJECT_VERSION_PATCH}")
set(KESTREVANE_FILE_VERSION_DOTTED "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.${PROJECT_VERSION_PATCH}")

add_library(kestrevane_version INTERFACE)
target_compile_definitions(kestrevane_version INTERFACE
  KESTREVANE_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}u
  KESTREVANE_VERSION_MINOR=${PROJECT_VERSION_MINOR}u
  KESTREVANE_VERSION_PATCH=${PROJECT_VERSION_PATCH}u
  "KESTREVANE_VERSION_TEXT=\"${KESTREVANE_VERSION_TEXT}\"")
