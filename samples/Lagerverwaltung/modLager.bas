Attribute VB_Name = "modLager"
Option Explicit

' Lagerbestand und Bestellvorschläge für das Hauptlager
Private Declare PtrSafe Function GetTickCount Lib "kernel32" () As Long
Private Declare PtrSafe Sub Sleep Lib "kernel32" _
    (ByVal dwMilliseconds As Long)

Public Const MINDESTBESTAND As Long = 10
Private mAnzahlBuchungen As Long

Public Function Bestand(ByVal artikelNr As String) As Long
    Dim rs As Object
    Set rs = CurrentDb.OpenRecordset("SELECT Menge FROM Lager WHERE ArtikelNr = '" & artikelNr & "'")
    If rs.EOF Then
        Bestand = 0
    Else
        Bestand = rs!Menge
    End If
    rs.Close
End Function

Public Sub Buchen(ByVal artikelNr As String, ByVal menge As Long, _
                  Optional ByVal bemerkung As String = "")
    Dim start As Long
    start = GetTickCount()
    If menge = 0 Then Exit Sub
    CurrentDb.Execute "UPDATE Lager SET Menge = Menge + " & menge & _
                      " WHERE ArtikelNr = '" & artikelNr & "'"
    mAnzahlBuchungen = mAnzahlBuchungen + 1
    Debug.Print "Gebucht: "; artikelNr; " ("; GetTickCount() - start; " ms) "; bemerkung
End Sub

Public Function Bestellvorschlag() As Collection
    Dim vorschlag As New Collection
    Dim i As Long
    For i = 1 To ArtikelAnzahl()
        Select Case Bestand(ArtikelNummer(i))
            Case Is < MINDESTBESTAND
                vorschlag.Add ArtikelNummer(i)
            Case Else
                ' genug auf Lager: "nichts" zu tun
        End Select
    Next i
    Set Bestellvorschlag = vorschlag
End Function

Private Function ArtikelAnzahl() As Long
    ArtikelAnzahl = DCount("*", "Artikel")
End Function

Private Function ArtikelNummer(ByVal index As Long) As String
    ArtikelNummer = DLookup("ArtikelNr", "Artikel", "Nr = " & index)
End Function

Public Sub Warten(ByVal sekunden As Long)
    Do While sekunden > 0
        Sleep 1000
        sekunden = sekunden - 1
    Loop
End Sub
