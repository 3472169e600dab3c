' expect 1051 13 25
Class Matrix
    Private m_cells

    Private Sub Class_Initialize()
        ReDim m_cells(9, 9)
    End Sub

    Public Property Get Cell(row, col)
        Cell = m_cells(row, col)
    End Property

    Public Property Let Cell(row, value)
        m_cells(row, 0) = value
    End Property
End Class
