Attribute VB_Name = "Modul1"
Option Explicit

Sub Zähle()
  Debug.Print "Grüße"
End Sub
