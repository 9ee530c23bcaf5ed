VERSION 5.00
Begin {C62A69F0-16DC-11CE-9E98-00AA00574A4F} frmBestellung
   Caption         =   "Bestellung"
   ClientHeight    =   3015
   ClientWidth     =   4560
   StartUpPosition =   1  'CenterOwner
End
Attribute VB_Name = "frmBestellung"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private WithEvents mArtikel As clsArtikel

Private Sub UserForm_Initialize()
    Set mArtikel = New clsArtikel
    Me.Caption = "Bestellung vom " & Format$(Date, "dd.mm.yyyy")
End Sub

Private Sub cmdBestellen_Click()
    Dim nr As Variant
    For Each nr In modLager.Bestellvorschlag()
        lstVorschlag.AddItem nr
    Next nr
    If lstVorschlag.ListCount = 0 Then MsgBox "Alles vorrätig.", vbInformation
End Sub

Private Sub mArtikel_PreisGeaendert(ByVal alterPreis As Currency)
    lblHinweis.Caption = "Preis geändert, vorher: " & alterPreis
End Sub

Private Sub cmdAbbrechen_Click()
    Unload Me
End Sub
