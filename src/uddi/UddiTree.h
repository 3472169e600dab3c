#pragma once

#include "platform/uddi/UddiClient.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What the registry browser's tree shows, built without a window: the nodes a search adds at the
// top of the tree, and the nodes that expanding a service or a tModel reference adds below it.
// The window and the command-line browser both put these nodes in their trees.
namespace zel::UddiTree {

// One node to add. parent is the index of an earlier node of the same list, or -1: the top of
// the tree for a search, the clicked node for an expansion. Nodes come in tree order.
struct Node
{
    int parent = -1;
    std::string key; // "" for a node without a key
    std::string text;
    std::string image; // "" for a node without a picture
    std::string tag;
};

// The outcome of one inquiry.
struct Update
{
    // The client reported an error: its text. Nothing else is filled.
    bool failed = false;
    std::string errorText;
    // The registry answered with the kind the inquiry expects; when false (and not failed), the
    // tree stays as it is.
    bool answered = false;
    // What happens to the clicked node of an expansion before its children are added.
    std::string clickedImage; // "" leaves the picture
    bool clearClickedTag = false;
    std::vector<Node> nodes;
};

// The search form's fields.
struct Criteria
{
    std::string name;         // sent as typed when it is not blank
    std::string duns;         // sent trimmed when it is not blank
    bool ignoreCase = false;  // false: case-sensitive match (502)
    bool partialName = false; // false: exact name match (501)
    int16_t maxRows = 0;
};

// Tags of the nodes an expansion can fill.
inline constexpr const char* kServiceTag = "businessService";
inline constexpr const char* kTModelTag = "tModel";
inline constexpr const char* kNoMatches = "No matches found.";

// The find_business request of a search: name, qualifiers 502 then 501, the D-U-N-S identifier.
uddi::FindBusiness searchRequest(const Criteria& criteria);

// The nodes of a business list: per business its node, descriptions and services; a single
// "No matches found." node for an empty list.
std::vector<Node> businessNodes(const uddi::BusinessList& list);
// The nodes under a service node whose key is the service's.
std::vector<Node> serviceNodes(const uddi::BusinessService& service);
// The nodes under a clicked tModel reference node whose key is clickedKey.
std::vector<Node> tModelNodes(const uddi::TModel& model, const std::string& clickedKey);

// The three inquiries: send, then the nodes of the answer.
Update search(uddi::UddiClient& client, const Criteria& criteria);
Update expandService(uddi::UddiClient& client, const std::string& serviceKey);
// clickedKey is the reference node's key, K + "-tmodel-" + i + B; K is asked for.
Update expandTModel(uddi::UddiClient& client, const std::string& clickedKey);

// True when text, in lower case, holds "http://" or "https://": a node the user may select.
bool isWebAddress(std::string_view text);

// The images a tree needs: the twelve of the nodes, the short taxonomy names and "Other".
std::vector<std::string> imageKeys();

} // namespace zel::UddiTree
