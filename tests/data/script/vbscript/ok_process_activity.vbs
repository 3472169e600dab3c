'--------------------------------------------------------------------------
' Activity: Check credit limit
' Calls the customer service over SOAP and stores the answer in the process.
'--------------------------------------------------------------------------
Option Explicit

Const SERVICE_URL = "http://crm.example.local/CustomerService.asmx"
Const SOAP_ACTION = "http://example.local/crm/GetCreditLimit"
Const TIMEOUT_MS = 30000

Dim http, request, response, customerId, limit, status
Dim xml, node

customerId = DataRiver("CustomerId")

request = "<?xml version=""1.0"" encoding=""utf-8""?>" & _
    "<soap:Envelope xmlns:xsi=""http://www.w3.org/2001/XMLSchema-instance""" & _
    " xmlns:xsd=""http://www.w3.org/2001/XMLSchema""" & _
    " xmlns:soap=""http://schemas.xmlsoap.org/soap/envelope/"">" & _
      "<soap:Body>" & _
        "<GetCreditLimit xmlns=""http://example.local/crm"">" & _
          "<customerId>" & XmlEscape(customerId) & "</customerId>" & _
          "<currency>" & XmlEscape(DataRiver("Currency")) & "</currency>" & _
        "</GetCreditLimit>" & _
      "</soap:Body>" & _
    "</soap:Envelope>"

On Error Resume Next
Set http = CreateObject("MSXML2.ServerXMLHTTP.6.0")
If Err.Number <> 0 Then
    Err.Clear
    Set http = CreateObject("MSXML2.XMLHTTP")
End If
http.Open "POST", SERVICE_URL, False
http.setRequestHeader "Content-Type", "text/xml; charset=utf-8"
http.setRequestHeader "SOAPAction", """" & SOAP_ACTION & """"
http.setTimeouts TIMEOUT_MS, TIMEOUT_MS, TIMEOUT_MS, TIMEOUT_MS
http.send request
If Err.Number <> 0 Then
    status = "ERROR " & Err.Number & ": " & Err.Description
    Err.Clear
ElseIf http.status <> 200 Then
    status = "HTTP " & http.status & " " & http.statusText
Else
    Set xml = CreateObject("MSXML2.DOMDocument")
    xml.async = False
    xml.loadXML http.responseText
    xml.setProperty "SelectionNamespaces", "xmlns:c='http://example.local/crm'"
    Set node = xml.selectSingleNode("//c:GetCreditLimitResult")
    If node Is Nothing Then
        status = "ERROR no result in answer"
    Else
        limit = node.text
        status = "OK"
    End If
End If
On Error GoTo 0

If status = "OK" Then
    DataRiverSet "CreditLimit", limit
End If
DataRiverSet "CallStatus", status
Set node = Nothing : Set xml = Nothing : Set http = Nothing

Function XmlEscape(ByVal s)
    If IsNull(s) Then s = ""
    s = Replace(s, "&", "&amp;")
    s = Replace(s, "<", "&lt;")
    s = Replace(s, ">", "&gt;")
    s = Replace(s, """", "&quot;")
    XmlEscape = Replace(s, "'", "&apos;")
End Function

Sub DataRiverSet(attribute, value)
    ' The engine reads the values back from the activity's output list.
    Dim pair
    pair = attribute & "=" & value
    If IsEmpty(DataRiver("__out")) Then Exit Sub
End Sub
