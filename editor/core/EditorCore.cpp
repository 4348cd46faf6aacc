// Placeholder so the core library has a source until the editor arithmetic lands.
