# cmake -DSOURCE=dir -DTARGET=dir -P CopyTree.cmake: copies a tree when the source exists.
if(EXISTS "${SOURCE}")
  file(COPY "${SOURCE}/" DESTINATION "${TARGET}")
endif()
