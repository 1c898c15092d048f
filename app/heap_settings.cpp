// The heap the program runs on. Opening a large drawing makes hundreds of thousands of small
// objects; when the program is linked with jemalloc (see app/CMakeLists.txt) its heap is kept on
// transparent huge pages, which spares one page fault per 4 KiB touched and so about a third of
// the time of opening or saving such a drawing. Its small objects are carved from slabs of about
// 16 pages (64 KiB) rather than the fewest pages a size fits evenly, one for 256 bytes: a drawing's
// texts and attributes then take a new slab a few hundred times, not thousands, and each costs
// thousands of instructions. Without jemalloc this setting is never read.
extern "C" {
// Read by jemalloc at its start, before any allocation.
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables)
const char* malloc_conf = "thp:always,metadata_thp:always,slab_sizes:1-4096:16";
}
