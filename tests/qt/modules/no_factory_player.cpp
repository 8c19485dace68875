// A loadable module that exports no player factory.
extern "C" __attribute__((visibility("default"))) int tunelark_something_else() { return 1; }
