// The translation unit that compiles a precompiled header.
