// The engine has no work of its own at start: the page calls its entry
// (web_engine.h) once the module is ready.
int main() { return 0; }
