#pragma once

// Registers the app's compiled-in resources (textures, style, layouts' images); the
// library is static, so this does not happen by itself.
void init_skyloom_resources();
