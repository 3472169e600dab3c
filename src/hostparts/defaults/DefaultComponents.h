#pragma once

namespace zel {

// Registers the library's default host-product components (activity data, language file, log,
// data encoding, window, wizard cancel, colouring) in the class registry, unless a class with the same id
// is registered already (a host's own wins). Safe to call any number of times.
void registerDefaultComponents();

} // namespace zel
