/* Preloaded into the test programs: makes dlclose a no-op, so that drivers
   the GL library loads at run time (the software rasteriser) are still mapped
   when the leak checker reports at exit, and their allocations can be matched
   by library name in lsan.supp instead of showing as "<unknown module>". */
int dlclose(void *handle) {
  (void)handle;
  return 0;
}
