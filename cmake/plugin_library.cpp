// The plug-in library's own translation unit: its code comes from the folder libraries, and only
// the entry points in host/ are exported (see host/exports.map).
