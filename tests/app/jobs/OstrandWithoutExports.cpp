// A shared library that loads but offers none of the polygon library's entry points.
extern "C" __attribute__((visibility("default"))) int OstrandVersion() { return 0; }
