# Portable sources: no <windows.h>. Compiled into the Windows programs and into
# the native test build (with sanitizers).
set(PICTARINE_CORE_SOURCES
  app/CommandLine.cpp
  platform/IntegerText.cpp
  platform/TextCompare.cpp
  platform/SpinRange.cpp
  forms/ConfigureValues.cpp
  forms/ImagePageRules.cpp
  settings/FitImage.cpp
  platform/Resample.cpp
  platform/JpegDecoder.cpp
  platform/FittedJpeg.cpp
  platform/BmpCodec.cpp
  platform/Errors.cpp
  settings/GroupFile.cpp
  settings/ImageQueue.cpp
  settings/RandomIndex.cpp
  settings/PictureFormat.cpp
  viewer/ViewerCommandLine.cpp
)
list(TRANSFORM PICTARINE_CORE_SOURCES PREPEND "${PROJECT_SOURCE_DIR}/")
