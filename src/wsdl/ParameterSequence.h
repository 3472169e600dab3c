#pragma once

#include "platform/xml/XmlNode.h"

// The shared parameter-sequence reference: the WSDL element that holds the chosen operation's
// input elements. The analyser writes it when it fills the parameter grid; the wizard's code
// assembly reads it and clears it. One value for the whole process, used on the UI thread only.
namespace zel::ParameterSequence {

// The element last stored; none when nothing was stored or it was cleared.
XmlNode get();

// Stores element (none is allowed and empties the reference).
void set(const XmlNode& element);

// Empties the reference.
void clear();

} // namespace zel::ParameterSequence
