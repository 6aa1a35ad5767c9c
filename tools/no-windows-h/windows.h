// Placed first on the include path of the platform-free core: the core must not
// depend on the window system, and this makes any attempt fail at compile time.
#error "The core is platform-free: <windows.h> belongs to the window layer (src/*/win/)."
