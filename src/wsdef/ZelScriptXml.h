#pragma once

#include "platform/xml/XmlNode.h"

#include <string>
#include <string_view>

namespace zel {

// The definition document of one web-service call, and the generation of the script that makes
// the call. The in-memory document is
//   Script
//     Language, EvalCode                       (the generated script and its language)
//     Definition                               (what the editor stores)
//       WebService: Path, Wsdl, LoadFromPath, ClassName, ServiceName, ACE
//       Method: Name, Parameters (Parameter: Name, Type, AtrId, DefValue, EvalCode),
//               Return: Type, AtrId, DefValue
//       Proxy: UseProxy, UseSSL, Server, Port, User, Password, Timeout
// Values are element content; Booleans are "1" and "0". Every operation raises its failures as
// error records with its tag appended to the source; nothing written before a failure is undone.
// The script is assembled from the templates file (ZelConfig), read again by every generation.
class ZelScriptXml
{
public:
    // The seven elements of the document; all none until NodeRootValidate has run. A stored
    // definition that lacks a part leaves that property none.
    XmlNode pubNodeRoot;         // Script
    XmlNode pubNodeDefinition;   // Script/Definition
    XmlNode pubNodeDefWebSrv;    // Definition/WebService
    XmlNode pubNodeDefMethod;    // Definition/Method
    XmlNode pubNodeDefMetParams; // Definition/Method/Parameters
    XmlNode pubNodeDefMetReturn; // Definition/Method/Return
    XmlNode pubNodeDefProxy;     // Definition/Proxy

    // Makes the document once: the empty skeleton with its defaults when pstrDefinition is "",
    // otherwise Script, Language, EvalCode and the parsed definition text under them. Does nothing
    // when the document exists. A definition that is not well-formed raises "object not set" (91)
    // after Script was made, so the definition properties stay none.
    void NodeRootValidate(std::string_view pstrDefinition = {});

    // Generates the parameter's script fragment, removes the parameter of that name (compared as
    // text) and, for a non-empty name, appends it anew at the end of Parameters. Its function is
    // named after a script identifier made from the name: the name itself when it is one, else a
    // safe variant, unique among the parameters in any letter case. Raises 91 when the document
    // has no Parameters element, 13 for a default that cannot be read as the parameter's type,
    // and the templates file's errors.
    void ParamAdd(std::string_view pstrParName, std::string_view pstrParType, std::string_view pstrParAtrId = {},
                  std::string_view pstrParDefValue = {});

    // Writes Return/Type and Return/AtrId; an id of "[none]" in any case or "ÿÿÿ" is stored empty.
    void WebServiceMethodReturnSet(std::string_view pstrType, std::string_view pstrAtrId);

    // Writes the WSDL address, the WSDL copy (embedded as XML when well-formed, one CDATA section
    // otherwise, replacing any earlier copy), the two flags, class, service and operation names.
    void WebServicePropertiesSet(std::string_view pstrWsdlPath, std::string_view pstrWsdlDef, bool pblnWsdlLoadFromPath,
                                 bool pblnWsdlACE, std::string_view pstrServiceName, std::string_view pstrClassName,
                                 std::string_view pstrMethodName);

    // Writes Method/Name and Return Type, AtrId and DefValue unchanged. Does not make the
    // document: raises 91 when there is none.
    void MethodDataSet(std::string_view pstrMethodName, std::string_view pstrReturnType, std::string_view pstrAtrId,
                       std::string_view pstrDefValue);

    // The call of the operation: "SOAPCallSub" for an empty return type, "SOAPCallFnc" otherwise,
    // with the argument list ("aGet(), bGet()", each parameter's identifier and "Get()") and the
    // operation name put in. Raises 91 when
    // the document has no Parameters element.
    std::string WebServiceCallEvalCodeMake();

    // The End Activity fragment: "SOAPAce" with the return value's attribute id put in.
    std::string WebServiceAceEvalCodeMake();

    // The whole script: "Main" with its placeholders replaced, each parameter's fragment followed
    // by CR LF, then "SOAPObjectGetOne". The End Activity fragment goes in only when the flag is
    // set and there are a return type and an attribute for it (neither empty nor "[none]"). Writes "VBSCript" into
    // Script/Language and the script into Script/EvalCode and returns it. A Timeout that is not a number or an ACE that
    // is not Boolean raises type mismatch (13) and leaves EvalCode as it was.
    std::string MainEvalCodeMake();

    // Writes the proxy flags ("1"/"0"), server, port, user, password and the time-out as decimal
    // text ("30", "2.5").
    void WebServiceProxySettingsSet(bool pblnUseProxy = false, bool pblnUseSSL = false,
                                    std::string_view pstrProxyServer = {}, std::string_view pstrProxyPort = {},
                                    std::string_view pstrProxyUser = {}, std::string_view pstrProxyPassword = {},
                                    double pdblTimeOut = 0);

private:
    // The fragment of one parameter, from "ParamSimpleGet" or "ParamExtendedGet"; pstrParIdent is
    // the script identifier its function is named after ("<ParIdent>"). A default that cannot be
    // read as the parameter's type raises type mismatch (13).
    std::string ParamEvalCodeMake(std::string_view pstrParName, std::string_view pstrParType,
                                  std::string_view pstrParAtrId, std::string_view pstrParDefValue,
                                  std::string_view pstrParIdent);
};

} // namespace zel
