#include "platform/uddi/UddiClient.h"

#include "platform/error/Clock.h"
#include "platform/http/HttpClient.h"
#include "platform/http/XmlBodyText.h"
#include "platform/text/Text.h"

#include <fstream>
#include <iostream>

namespace zel::uddi {

void UddiClient::writeTrace(const std::string& heading, const std::string& message) const
{
    if (!m_trace || m_tracePath.empty())
        return;
    std::ofstream out(m_tracePath, std::ios::app | std::ios::binary);
    out << "--- " << Clock::generalDateNow() << ' ' << heading << '\n' << message << "\n\n";
    out.flush();
    // The trace only watches the traffic: an inquiry never fails because its trace cannot be
    // written, but the user running the browser is told on standard error.
    if (!out)
        std::cerr << "UDDI client: cannot write the trace file " << m_tracePath << '\n';
}

Envelope UddiClient::fail(std::string text)
{
    m_error = true;
    m_errorText = std::move(text);
    return {};
}

Envelope UddiClient::send(const Envelope& request)
{
    m_error = false;
    m_errorText.clear();
    if (m_address.empty())
        return fail("No UDDI registry address is set.");

    http::HttpRequest post;
    post.method = "POST";
    post.url = m_address;
    post.headers = {{"Content-Type", "text/xml; charset=\"utf-8\""}, {"SOAPAction", "\"\""}};
    post.body = request.xml();
    writeTrace("request to " + m_address, request.xml());
    const http::HttpResponse answer = http::HttpClient::send(post, m_options);
    if (!answer.ok()) {
        writeTrace("no answer", answer.message);
        return fail("The UDDI registry " + m_address + " could not be reached: " + answer.message);
    }
    writeTrace("answer HTTP " + std::to_string(answer.status), answer.body);

    const std::string status =
        "HTTP " + std::to_string(answer.status) + (answer.statusText.empty() ? std::string() : " " + answer.statusText);
    std::string problem;
    const std::optional<std::string> text = http::xmlBodyToUtf8(answer.body, answer.header("Content-Type"), &problem);
    Envelope envelope;
    if (!text || !Envelope::parse(*text, envelope, problem)) {
        if (answer.status != 200)
            return fail("The UDDI registry answered " + status + ".");
        return fail("The UDDI registry's answer is not a SOAP message: " + problem + ".");
    }
    if (envelope.responseKind() == "Fault")
        return fail(envelope.fault().text());
    if (answer.status != 200)
        return fail("The UDDI registry answered " + status + ".");
    return envelope;
}

std::string taxonomyName(std::string_view tModelKey)
{
    struct Known
    {
        const char* key;
        const char* name;
    };
    static const Known kKnown[] = {
        {"uuid:c0b9fe13-179f-413d-8a5b-5004db8e5bb2", "NAICS"},      // 1997 release
        {"uuid:1ff729f2-1948-46cf-b660-31ec107f1663", "NAICS"},      // 2002 release
        {"uuid:cd153257-086a-4237-b336-6bdcbdcc6634", "UNSPSC"},     // version 7.3
        {"uuid:db77450d-9fa8-45d4-a7bc-04411d14e384", "UNSPSC"},     // version 3.1
        {"uuid:4e49a8d6-d5a2-4fc2-93a0-0411d8d19e88", "ISO 3166"},   // geographic
        {"uuid:c1acf26d-9672-4404-9d70-39b756e62ab4", "UDDI Types"}, // uddi-org:types
        {"uuid:a035a07c-f362-44dd-8f95-e2b134bf43b4", "Keywords"},   // general keywords
    };
    if (tModelKey.empty())
        return "Keywords";
    const std::string key = Text::lowerAscii(tModelKey);
    for (const Known& k : kKnown)
        if (key == k.key)
            return k.name;
    return std::string(tModelKey);
}

const std::vector<std::string>& knownTaxonomyNames()
{
    static const std::vector<std::string> names = {"NAICS", "UNSPSC", "ISO 3166", "UDDI Types", "Keywords"};
    return names;
}

} // namespace zel::uddi
