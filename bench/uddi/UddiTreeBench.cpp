// A search answered with 1,000 businesses (about 2 MB): the answer read and turned into the
// browser's tree nodes. Target: 50 ms or less.
#include "uddi/UddiTree.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace zel;

std::string businessListEnvelope(int businesses)
{
    std::string infos;
    for (int i = 0; i < businesses; ++i) {
        const std::string n = std::to_string(i);
        const std::string key = "0f6c1a2e-5b7d-4c3a-9e21-" + std::string(12 - n.size(), '0') + n;
        infos += "<ns2:businessInfo businessKey=\"" + key + "\"><ns2:name xml:lang=\"en\">Business &amp; Sons " + n +
                 "</ns2:name><ns2:description xml:lang=\"en\">" + std::string(700, 'e') +
                 "</ns2:description><ns2:description xml:lang=\"es\">Descripci\xC3\xB3n " + std::string(600, 's') +
                 "</ns2:description><ns2:serviceInfos>";
        for (int s = 0; s < 3; ++s)
            infos += "<ns2:serviceInfo serviceKey=\"" + key + "-" + std::to_string(s) + "\" businessKey=\"" + key +
                     "\"><ns2:name>Service number " + std::to_string(s) + " of business " + n +
                     "</ns2:name></ns2:serviceInfo>";
        infos += "</ns2:serviceInfos></ns2:businessInfo>";
    }
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><soap:Envelope "
           "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body><ns2:businessList generic=\"2.0\" "
           "operator=\"bench\" xmlns:ns2=\"urn:uddi-org:api_v2\"><ns2:businessInfos>" +
           infos + "</ns2:businessInfos></ns2:businessList></soap:Body></soap:Envelope>";
}

void BM_BusinessListToTreeNodes(benchmark::State& state)
{
    const std::string answer = businessListEnvelope(1000);
    std::size_t nodes = 0;
    for (auto _ : state) {
        uddi::Envelope envelope;
        std::string error;
        if (!uddi::Envelope::parse(answer, envelope, error))
            state.SkipWithError(error.c_str());
        const std::vector<UddiTree::Node> tree = UddiTree::businessNodes(envelope.businessList());
        nodes = tree.size();
        benchmark::DoNotOptimize(tree.data());
    }
    state.counters["bytes"] = static_cast<double>(answer.size());
    state.counters["nodes"] = static_cast<double>(nodes);
}
BENCHMARK(BM_BusinessListToTreeNodes)->Unit(benchmark::kMillisecond);

} // namespace
