// The resource library's only source: the embedded files are compiled in by rcc.
namespace tarnell::resources {
int anchor() {
    return 0;
}
} // namespace tarnell::resources
