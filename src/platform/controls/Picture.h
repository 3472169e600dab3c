#pragma once

namespace zel::controls {

// The pictures the core asks for; the wizard's picture form decides how each one looks.
enum class Picture
{
    None,
    Class,          // a service or class item of the structure tree
    Method,         // an operation item of the structure tree
    ParameterName,  // first picture of a parameter row of the grid
    ParameterValue, // second picture of a parameter row of the grid
};

} // namespace zel::controls
