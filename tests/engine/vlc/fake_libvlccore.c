/* A stand-in for libvlccore: the binding only needs it to load before libvlc. */
int fake_libvlccore_present(void) { return 1; }
