// The library's exported entry points (placeholder until the class factory exists).
extern "C" {
__attribute__((visibility("default"))) long DllCanUnloadNow() { return 1; }
}
