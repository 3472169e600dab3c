#pragma once

#include "platform/http/HttpTypes.h"
#include "platform/uddi/UddiMessages.h"

#include <string>

namespace zel::uddi {

// Sends inquiry envelopes to one registry over HTTP (SOAP 1.1: a POST with SOAPAction "") and
// tells whether the last send failed and why. With the trace on, every request and answer is
// appended to the trace file. A client may be used from any one thread at a time.
class UddiClient
{
public:
    void setTrace(bool on) { m_trace = on; }
    bool trace() const { return m_trace; }
    void setTracePath(std::string path) { m_tracePath = std::move(path); }
    const std::string& tracePath() const { return m_tracePath; }
    // The registry's inquiry address.
    void setAddress(std::string address) { m_address = std::move(address); }
    const std::string& address() const { return m_address; }
    // Time-out, proxy and size cap of the exchanges.
    void setOptions(const http::HttpOptions& options) { m_options = options; }

    // Sends request and returns the registry's answer. Never raises: when the registry cannot be
    // reached, answers with a SOAP fault (its dispositionReport's code and text, when it has one),
    // with an HTTP error or with something that is not a SOAP envelope, the error flag is set,
    // the error text says why and the returned envelope is empty. An envelope of an unexpected
    // kind is returned as it came, without an error.
    Envelope send(const Envelope& request);

    bool errorFlag() const { return m_error; }
    const std::string& errorText() const { return m_errorText; }

private:
    void writeTrace(const std::string& heading, const std::string& message) const;
    Envelope fail(std::string text);

    bool m_trace = false;
    std::string m_tracePath;
    std::string m_address;
    http::HttpOptions m_options;
    bool m_error = false;
    std::string m_errorText;
};

// The short name of a category system, for tree labels and pictures: "NAICS", "UNSPSC",
// "ISO 3166", "UDDI Types" and "Keywords" for the well-known taxonomies (keys compared without
// regard to case; an empty key is the general keywords), and the key itself for any other.
std::string taxonomyName(std::string_view tModelKey);

// The short names taxonomyName can answer besides keys, in a fixed order.
const std::vector<std::string>& knownTaxonomyNames();

} // namespace zel::uddi
