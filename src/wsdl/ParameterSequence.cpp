#include "wsdl/ParameterSequence.h"

namespace zel::ParameterSequence {

namespace {

XmlNode& shared()
{
    static XmlNode element;
    return element;
}

} // namespace

XmlNode get()
{
    return shared();
}

void set(const XmlNode& element)
{
    shared() = element;
}

void clear()
{
    shared() = XmlNode();
}

} // namespace zel::ParameterSequence
