VERSION 5.00
Begin {C62A69F0-16DC-11CE-9E98-00AA00574A4F} Eingabe
End
Attribute VB_Name = "Eingabe"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Private Sub UserForm_Click()
  Me.Hide
End Sub
