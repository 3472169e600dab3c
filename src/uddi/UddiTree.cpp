#include "uddi/UddiTree.h"

#include "common/XmlFncs.h"
#include "platform/error/ErrorRecord.h"
#include "platform/text/Text.h"
#include "uddi/UDDISettings.h"

namespace zel::UddiTree {
namespace {

// Adds nodes as a tree control would be asked to: each add returns the new node's index.
class Builder
{
public:
    int add(int parent, std::string key, std::string text, std::string image, std::string tag = {})
    {
        nodes.push_back({parent, std::move(key), std::move(text), std::move(image), std::move(tag)});
        return static_cast<int>(nodes.size()) - 1;
    }
    void descriptions(int parent, const std::string& folderKey, const std::vector<uddi::Description>& list)
    {
        const int folder = add(parent, folderKey, "Descriptions", "description");
        for (const uddi::Description& d : list)
            if (!d.text.empty())
                add(folder, {}, "[" + d.lang + "]  " + d.text, "description");
    }
    void categories(int parent, const std::string& folderKey, const std::vector<uddi::KeyedReference>& bag)
    {
        const int folder = add(parent, folderKey, "Categories", "category");
        for (const uddi::KeyedReference& r : bag) {
            std::string taxonomy = uddi::taxonomyName(r.tModelKey);
            if (taxonomy.find(':') != std::string::npos)
                taxonomy = "Other";
            add(folder, {}, r.keyName + " (" + r.keyValue + ")", taxonomy);
        }
    }

    std::vector<Node> nodes;
};

} // namespace

uddi::FindBusiness searchRequest(const Criteria& criteria)
{
    try {
        uddi::FindBusiness request;
        if (!XmlFncs::isBlank(criteria.name))
            request.name = criteria.name;
        if (!criteria.ignoreCase)
            request.addFindQualifier(uddi::kCaseSensitiveMatch);
        if (!criteria.partialName)
            request.addFindQualifier(uddi::kExactNameMatch);
        if (!XmlFncs::isBlank(criteria.duns))
            request.addIdentifier(uddi::kDunsIdentifier, "", XmlFncs::trimSpaces(criteria.duns));
        request.maxRows = criteria.maxRows;
        return request;
    } catch (...) {
        rethrowWithTag(" UddiTree.searchRequest() ");
    }
}

std::vector<Node> businessNodes(const uddi::BusinessList& list)
{
    Builder tree;
    for (const uddi::BusinessInfo& b : list.businessInfos) {
        const int business = tree.add(-1, b.businessKey, b.name, "business");
        if (!b.descriptions.empty())
            tree.descriptions(business, b.businessKey + "-Desc", b.descriptions);
        const int services = tree.add(business, b.businessKey + "-Svc",
                                      "Service Groups (" + std::to_string(b.serviceInfos.size()) + ")", "service");
        for (const uddi::ServiceInfo& s : b.serviceInfos)
            tree.add(services, s.serviceKey, s.name, "servicesin", kServiceTag);
    }
    if (list.businessInfos.empty())
        tree.add(-1, {}, kNoMatches, {});
    return std::move(tree.nodes);
}

std::vector<Node> serviceNodes(const uddi::BusinessService& service)
{
    Builder tree;
    const std::string& s = service.serviceKey;
    if (!service.descriptions.empty())
        tree.descriptions(-1, s + "-desc", service.descriptions);
    if (!service.categoryBag.empty())
        tree.categories(-1, s + "-cat", service.categoryBag);
    const int bindings =
        tree.add(-1, s + "-bind", "Bindings (" + std::to_string(service.bindingTemplates.size()) + ")", "binding");
    for (const uddi::BindingTemplate& b : service.bindingTemplates) {
        const std::string& key = b.bindingKey;
        const int binding = tree.add(bindings, key, b.descriptions.empty() ? "" : b.descriptions[0].text, "binding");
        if (b.hasAccessPoint) {
            const int urlType = tree.add(binding, key + "-urltype", b.urlType, "urlType");
            tree.add(urlType, key + "-access", b.accessPoint, "urlType");
            const int signature = tree.add(binding, key + "-sig-" + b.serviceKey, "Binding Signature", "signature");
            int i = 1;
            for (const uddi::TModelInstanceInfo& t : b.tModelInstanceDetails) {
                const int reference =
                    tree.add(signature, t.tModelKey + "-tmodel-" + std::to_string(i) + key, t.tModelKey, "magnify");
                for (const uddi::Description& d : t.descriptions)
                    tree.add(reference, {}, d.text, "description");
                tree.nodes[static_cast<std::size_t>(reference)].tag = kTModelTag;
                ++i;
            }
        } else {
            const int redirector = tree.add(binding, {}, "Redirector", {});
            tree.add(redirector, key + "-redirect", b.hostingRedirector, {});
        }
    }
    return std::move(tree.nodes);
}

std::vector<Node> tModelNodes(const uddi::TModel& model, const std::string& clickedKey)
{
    Builder tree;
    const std::string k = model.tModelKey + clickedKey;
    const int node = tree.add(-1, k, model.name, "tModel");
    if (!model.descriptions.empty())
        tree.descriptions(node, k + "-desc", model.descriptions);
    const int overview = tree.add(node, k + "-ovr", "Overview", "overviewDoc");
    tree.add(overview, {}, model.overviewURL, "overviewDoc");
    if (!model.categoryBag.empty())
        tree.categories(node, k + "-cat", model.categoryBag);
    return std::move(tree.nodes);
}

namespace {

// Sends request; fills the failure of the update when the client reports one.
uddi::Envelope sendInto(uddi::UddiClient& client, const uddi::Envelope& request, Update& update)
{
    uddi::Envelope answer = client.send(request);
    if (client.errorFlag()) {
        update.failed = true;
        update.errorText = client.errorText();
    }
    return answer;
}

} // namespace

Update search(uddi::UddiClient& client, const Criteria& criteria)
{
    try {
        Update update;
        const uddi::Envelope answer = sendInto(client, uddi::Envelope::of(searchRequest(criteria)), update);
        if (!update.failed && answer.responseKind() == "businessList") {
            update.answered = true;
            update.nodes = businessNodes(answer.businessList());
        }
        return update;
    } catch (...) {
        rethrowWithTag(" UddiTree.search() ");
    }
}

Update expandService(uddi::UddiClient& client, const std::string& serviceKey)
{
    try {
        Update update;
        const uddi::Envelope answer =
            sendInto(client, uddi::Envelope::of(uddi::GetServiceDetail{{serviceKey}}), update);
        if (!update.failed && answer.responseKind() == "serviceDetail") {
            const uddi::ServiceDetail detail = answer.serviceDetail();
            if (detail.businessServices.empty())
                raiseObjectNotSet("the service in the registry's serviceDetail");
            update.answered = true;
            update.clickedImage = "service";
            update.nodes = serviceNodes(detail.businessServices.front());
        }
        return update;
    } catch (...) {
        rethrowWithTag(" UddiTree.expandService() ");
    }
}

Update expandTModel(uddi::UddiClient& client, const std::string& clickedKey)
{
    try {
        Update update;
        const std::string key = clickedKey.substr(0, clickedKey.find("-tmodel"));
        const uddi::Envelope answer = sendInto(client, uddi::Envelope::of(uddi::GetTModelDetail{{key}}), update);
        if (!update.failed && answer.responseKind() == "tModelDetail") {
            const uddi::TModelDetail detail = answer.tModelDetail();
            if (detail.tModels.empty())
                raiseObjectNotSet("the tModel in the registry's tModelDetail");
            update.answered = true;
            update.clickedImage = "signature";
            update.clearClickedTag = true;
            update.nodes = tModelNodes(detail.tModels.front(), clickedKey);
        }
        return update;
    } catch (...) {
        rethrowWithTag(" UddiTree.expandTModel() ");
    }
}

bool isWebAddress(std::string_view text)
{
    const std::string lower = Text::lowerAscii(text);
    return lower.find("http://") != std::string::npos || lower.find("https://") != std::string::npos;
}

std::vector<std::string> imageKeys()
{
    std::vector<std::string> keys = {"description", "business", "service",  "servicesin", "binding",     "urlType",
                                     "signature",   "magnify",  "category", "tModel",     "overviewDoc", "tModelType"};
    for (const std::string& name : uddi::knownTaxonomyNames())
        keys.push_back(name);
    keys.push_back("Other");
    return keys;
}

} // namespace zel::UddiTree
